using System;
using System.Runtime.InteropServices;

namespace Quorvex
{
    // One SafeHandle per kind of library handle. The marshaller adds a reference for the
    // length of every native call that takes one, so a handle disposed on another thread
    // meanwhile is released only after that call has returned.
    internal abstract class LibraryHandle : SafeHandle
    {
        protected LibraryHandle() : base(IntPtr.Zero, true) { }

        public override bool IsInvalid
        {
            get { return handle == IntPtr.Zero; }
        }

        // Takes over a handle a native call stored in a bare out-parameter.
        internal void Adopt(IntPtr value)
        {
            SetHandle(value);
        }
    }

    internal sealed class ProcedureHandle : LibraryHandle
    {
        public ProcedureHandle() { }
        protected override bool ReleaseHandle()
        {
            NativeMethods.hfreeProcedure(handle);
            return true;
        }
    }

    internal sealed class ProgramHandle : LibraryHandle
    {
        public ProgramHandle() { }
        protected override bool ReleaseHandle()
        {
            NativeMethods.hfreeProgram(handle);
            return true;
        }
    }

    // A call holds a reference on its parent's handle from its creation to its release: the
    // procedure or program outlives every call made from it, whatever order they are
    // disposed or collected in.
    internal abstract class CallHandle : LibraryHandle
    {
        private SafeHandle parent;

        internal void HoldParent(SafeHandle owner)
        {
            parent = owner;
        }

        // Takes over a call made with a reference on `owner` already added, which the
        // call's release gives back.
        internal void Adopt(IntPtr call, SafeHandle owner)
        {
            SetHandle(call);
            parent = owner;
        }

        internal delegate IntPtr Creator<TParent, TCall>(TParent parent, out TCall call);

        // Makes a call on `parent` with `create`, holding a reference on the parent for the
        // call's life; on failure nothing stays held or allocated.
        internal static TCall Create<TParent, TCall>(TParent parent, Creator<TParent, TCall> create)
            where TParent : SafeHandle
            where TCall : CallHandle
        {
            bool added = false;
            parent.DangerousAddRef(ref added);
            TCall created = null;
            try
            {
                QuorvexException.Check(create(parent, out created));
                created.HoldParent(parent);
                return created;
            }
            catch
            {
                if (created != null) created.Dispose();
                if (added) parent.DangerousRelease();
                throw;
            }
        }

        protected abstract void Free(IntPtr call);

        protected override bool ReleaseHandle()
        {
            Free(handle);
            if (parent != null) parent.DangerousRelease();
            return true;
        }
    }

    internal sealed class ProgramCallHandle : CallHandle
    {
        public ProgramCallHandle() { }
        protected override void Free(IntPtr call) { NativeMethods.hfreeProgramCall(call); }
    }
}
