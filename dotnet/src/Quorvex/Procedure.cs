using System;
using System.Collections.Generic;
using System.Runtime.CompilerServices;

namespace Quorvex
{
    /// <summary>An external procedure (NAME.hdvp found in the procedure paths).</summary>
    public sealed class Procedure : IDisposable
    {
        internal readonly ProcedureHandle Handle;
        private readonly string[] inputs;
        private readonly string[] outputs;
        private volatile bool disposed;

        /// <summary>Loads the procedure <paramref name="name"/> (without ".hdvp") from the procedure paths.</summary>
        /// <exception cref="ArgumentNullException"><paramref name="name"/> is null.</exception>
        /// <exception cref="ArgumentException"><paramref name="name"/> holds a NUL character.</exception>
        /// <exception cref="QuorvexException">The procedure is not found or does not load.</exception>
        /// <exception cref="DllNotFoundException">The native library cannot be loaded.</exception>
        public Procedure(string name)
        {
            Library.Ensure();
            Name = name;
            Handle = Create(name);
            try
            {
                inputs = Names(true);
                outputs = Names(false);
                InputIconicCount = IconicCount(true);
                OutputIconicCount = IconicCount(false);
            }
            catch
            {
                Handle.Dispose();
                throw;
            }
        }

        /// <summary>The procedure's name.</summary>
        public string Name { get; private set; }
        /// <summary>The names of the control inputs, in interface order.</summary>
        public IList<string> InputControlNames { get { return Array.AsReadOnly(inputs); } }
        /// <summary>The names of the control outputs, in interface order.</summary>
        public IList<string> OutputControlNames { get { return Array.AsReadOnly(outputs); } }
        /// <summary>The number of iconic inputs.</summary>
        public int InputIconicCount { get; private set; }
        /// <summary>The number of iconic outputs.</summary>
        public int OutputIconicCount { get; private set; }

        /// <summary>A new call of this procedure. The call keeps the procedure's handle alive:
        /// disposing the procedure first defers its release to the last call's.</summary>
        public ProcedureCall CreateCall()
        {
            return new ProcedureCall(this);
        }

        /// <summary>Runs the procedure once with inputs by name; outputs by name, as arrays.</summary>
        public IDictionary<string, object[]> Execute(IDictionary<string, object> inputValues)
        {
            using (ProcedureCall call = CreateCall())
            {
                if (inputValues != null)
                    foreach (KeyValuePair<string, object> input in inputValues) call.SetInput(input.Key, input.Value);
                call.Execute();
                var results = new Dictionary<string, object[]>();
                foreach (string output in outputs) results[output] = call.GetOutputValues(output);
                return results;
            }
        }

        // Compiled, and its import bound, only after Library.Ensure (see Engine).
        [MethodImpl(MethodImplOptions.NoInlining)]
        private static ProcedureHandle Create(string name)
        {
            ProcedureHandle created;
            QuorvexException.Check(NativeMethods.hcreateProcedure(Text.Encode(name, "name"), out created));
            return created;
        }

        private int IconicCount(bool input)
        {
            int count;
            QuorvexException.Check(input ? NativeMethods.hprocedureGetInputIconicParamCount(Handle, out count)
                                         : NativeMethods.hprocedureGetOutputIconicParamCount(Handle, out count));
            return count;
        }

        internal int InputIndex(string name) { return Index(inputs, name, "input"); }
        internal int OutputIndex(string name) { return Index(outputs, name, "output"); }

        private int Index(string[] names, string name, string group)
        {
            int position = Array.IndexOf(names, name);
            if (position < 0)
                throw new ArgumentException(Name + " has no control " + group + " " + name + " (it has: " + string.Join(", ", names) + ")");
            return position + 1;
        }

        private string[] Names(bool input)
        {
            int count;
            QuorvexException.Check(input ? NativeMethods.hprocedureGetInputCtrlParamCount(Handle, out count)
                                         : NativeMethods.hprocedureGetOutputCtrlParamCount(Handle, out count));
            var names = new string[count];
            for (int i = 0; i < count; ++i)
            {
                IntPtr text;
                QuorvexException.Check(input ? NativeMethods.hprocedureGetInputCtrlParamName(Handle, i + 1, out text)
                                             : NativeMethods.hprocedureGetOutputCtrlParamName(Handle, i + 1, out text));
                names[i] = Text.Copy(text); // owned by the procedure: copied, never freed
            }
            return names;
        }

        internal ProcedureHandle Live
        {
            get
            {
                if (disposed) throw new ObjectDisposedException("Procedure " + Name);
                return Handle;
            }
        }

        /// <summary>Gives the procedure up; its handle is released with its last call's.</summary>
        public void Dispose()
        {
            disposed = true;
            Handle.Dispose();
        }
    }
}
