using System;
using System.Runtime.CompilerServices;

namespace Quorvex
{
    /// <summary>An HDevelop program file (.hdev), run through its main procedure.</summary>
    public sealed class HDevProgram : IDisposable
    {
        internal readonly ProgramHandle Handle;
        private volatile bool disposed;

        /// <summary>Loads the program file <paramref name="file"/>.</summary>
        /// <exception cref="ArgumentNullException"><paramref name="file"/> is null.</exception>
        /// <exception cref="ArgumentException"><paramref name="file"/> holds a NUL character.</exception>
        /// <exception cref="QuorvexException">The file is missing or does not load.</exception>
        /// <exception cref="DllNotFoundException">The native library cannot be loaded.</exception>
        public HDevProgram(string file)
        {
            Library.Ensure();
            File = file;
            Handle = Create(file);
        }

        // Compiled, and its import bound, only after Library.Ensure (see Engine).
        [MethodImpl(MethodImplOptions.NoInlining)]
        private static ProgramHandle Create(string file)
        {
            ProgramHandle created;
            QuorvexException.Check(NativeMethods.hcreateProgram(Text.Encode(file, "file"), out created));
            return created;
        }

        /// <summary>The program file.</summary>
        public string File { get; private set; }

        /// <summary>A new run of the program's main procedure; it keeps the program's handle alive.</summary>
        /// <exception cref="QuorvexException">The library could not create the call.</exception>
        /// <exception cref="ObjectDisposedException">The program is disposed.</exception>
        public ProgramCall CreateCall()
        {
            return new ProgramCall(this);
        }

        /// <summary>Runs main once.</summary>
        public void Execute()
        {
            using (ProgramCall call = CreateCall()) call.Execute();
        }

        internal ProgramHandle Live
        {
            get
            {
                if (disposed) throw new ObjectDisposedException("HDevProgram " + File);
                return Handle;
            }
        }

        /// <summary>Gives up the object; a program's handle is released with its last call's.</summary>
        public void Dispose()
        {
            disposed = true;
            Handle.Dispose();
        }
    }

    /// <summary>A call of a program's main procedure; keeps its program's handle alive.</summary>
    public sealed class ProgramCall : IDisposable
    {
        private readonly ProgramCallHandle handle;
        private volatile bool disposed;

        internal ProgramCall(HDevProgram program)
        {
            Program = program;
            handle = CallHandle.Create<ProgramHandle, ProgramCallHandle>(program.Live, NativeMethods.hcreateProgramCall);
        }

        /// <summary>The program this call runs.</summary>
        public HDevProgram Program { get; private set; }

        /// <summary>Runs the program's main procedure.</summary>
        /// <exception cref="QuorvexException">A line fails.</exception>
        /// <exception cref="ObjectDisposedException">The call is disposed.</exception>
        public void Execute()
        {
            if (disposed) throw new ObjectDisposedException("ProgramCall of " + Program.File);
            QuorvexException.Check(NativeMethods.hprogramcallExecute(handle));
        }

        /// <summary>Whether <see cref="Dispose"/> was called.</summary>
        public bool IsDisposed
        {
            get { return disposed; }
        }

        /// <summary>Gives up the object; a program's handle is released with its last call's.</summary>
        public void Dispose()
        {
            disposed = true;
            handle.Dispose();
        }
    }
}
