using System;
using System.Runtime.CompilerServices;

namespace Quorvex
{
    /// <summary>An HDevelop program file (.hdev), run through its main procedure.</summary>
    public sealed class Program : IDisposable
    {
        internal readonly ProgramHandle Handle;
        private volatile bool disposed;

        public Program(string file)
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

        public string File { get; private set; }

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
                if (disposed) throw new ObjectDisposedException("Program " + File);
                return Handle;
            }
        }

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

        internal ProgramCall(Program program)
        {
            Program = program;
            ProgramHandle parent = program.Live;
            bool added = false;
            parent.DangerousAddRef(ref added);
            ProgramCallHandle created = null;
            try
            {
                QuorvexException.Check(NativeMethods.hcreateProgramCall(parent, out created));
                created.HoldParent(parent);
                handle = created;
            }
            catch
            {
                if (created != null) created.Dispose();
                if (added) parent.DangerousRelease();
                throw;
            }
        }

        public Program Program { get; private set; }

        public void Execute()
        {
            if (disposed) throw new ObjectDisposedException("ProgramCall of " + Program.File);
            QuorvexException.Check(NativeMethods.hprogramcallExecute(handle));
        }

        public bool IsDisposed
        {
            get { return disposed; }
        }

        public void Dispose()
        {
            disposed = true;
            handle.Dispose();
        }
    }
}
