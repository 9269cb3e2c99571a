using System;
using System.Runtime.CompilerServices;
using System.Runtime.InteropServices;
using System.Threading;

namespace Quorvex
{
    // A tuple or procedure call handle counted by its users: the owning object holds one use
    // and each native call in progress one more, and the library's release function runs when
    // the count reaches zero, so a Dispose on another thread during a call takes effect when
    // the call returns (what the marshaller's reference on a SafeHandle gives).
    //
    // Unlike a SafeHandle, one object serves many handles in turn. Mono registers every
    // object with a finalizer in a locked table and takes it out again on Dispose; for the
    // call and the output tuple of a round trip that cost more than all its native calls. A
    // released object goes back to a small pool of its thread, still registered, and its
    // owner names it by the object and a generation, which every release advances: a stale
    // owner's use is refused as disposed. A forgotten owner leaves its object unreachable
    // (a pooled one is reachable from the pool), and the finalizer releases the handle.
    internal sealed class CountedHandle
    {
        internal enum Kind
        {
            Tuple,
            ProcedureCall
        }

        private const long ClosedBit = 1L << 31;
        private const long CountMask = ClosedBit - 1;
        private const int PoolSize = 8;

        // This thread's released objects, a list of each kind linked through `next`.
        [ThreadStatic] private static CountedHandle freeTuples;
        [ThreadStatic] private static CountedHandle freeCalls;
        [ThreadStatic] private static int pooled;

        private readonly Kind kind;
        // The generation in the high 32 bits, the closed flag, the count of uses below it.
        private long state = ClosedBit;
        private IntPtr value;
        // A call's procedure, whose reference the call gives back when it is released.
        private SafeHandle parent;
        private CountedHandle next;

        private CountedHandle(Kind kind)
        {
            this.kind = kind;
        }

        ~CountedHandle()
        {
            // Unreachable: no owner and no call in progress can use it any more.
            if (value != IntPtr.Zero) Free();
        }

        // An object with no handle yet, from this thread's pool when it has one of the kind;
        // the caller makes the handle and gives it to Adopt, or gives the object back with
        // Abandon, so that nothing the library makes is ever left without an owner.
        internal static CountedHandle Rent(Kind kind)
        {
            CountedHandle taken = kind == Kind.Tuple ? freeTuples : freeCalls;
            if (taken == null) return new CountedHandle(kind);
            if (kind == Kind.Tuple) freeTuples = taken.next;
            else freeCalls = taken.next;
            taken.next = null;
            --pooled;
            return taken;
        }

        // Takes over a handle made with the parent's reference added, if any; the owner's
        // one use. Returns the generation the owner names the handle by.
        internal int Adopt(IntPtr handle, SafeHandle owner = null)
        {
            value = handle;
            parent = owner;
            long next = (Volatile.Read(ref state) & ~(ClosedBit | CountMask)) | 1;
            Volatile.Write(ref state, next);
            return (int)(next >> 32);
        }

        internal void Abandon()
        {
            Recycle();
        }

        // The handle for one native call, or IntPtr.Zero when the owner has disposed it.
        [MethodImpl(MethodImplOptions.AggressiveInlining)]
        internal IntPtr Acquire(int generation)
        {
            while (true)
            {
                long current = Volatile.Read(ref state);
                if ((int)(current >> 32) != generation || (current & ClosedBit) != 0) return IntPtr.Zero;
                if (Interlocked.CompareExchange(ref state, current + 1, current) == current) return value;
            }
        }

        [MethodImpl(MethodImplOptions.AggressiveInlining)]
        internal void Release()
        {
            if ((Interlocked.Decrement(ref state) & CountMask) == 0) FreeAndRecycle();
        }

        // The owner's Dispose: gives up its use once; a repeat, or a stale owner, does nothing.
        internal void Close(int generation)
        {
            while (true)
            {
                long current = Volatile.Read(ref state);
                if ((int)(current >> 32) != generation || (current & ClosedBit) != 0) return;
                long next = (current | ClosedBit) - 1;
                if (Interlocked.CompareExchange(ref state, next, current) != current) continue;
                if ((next & CountMask) == 0) FreeAndRecycle();
                return;
            }
        }

        private void FreeAndRecycle()
        {
            Free();
            Recycle();
        }

        private void Free()
        {
            IntPtr handle = value;
            value = IntPtr.Zero;
            if (kind == Kind.Tuple) TupleCalls.Free(handle);
            else NativeMethods.hfreeProcedureCall(handle);
            SafeHandle owner = parent;
            parent = null;
            if (owner != null) owner.DangerousRelease();
        }

        // The next generation, closed, so that a stale owner's Acquire and Close fail.
        private void Recycle()
        {
            value = IntPtr.Zero;
            parent = null;
            long current = Volatile.Read(ref state);
            Volatile.Write(ref state, (((current >> 32) + 1) << 32) | ClosedBit);
            if (pooled >= PoolSize) return;
            ++pooled;
            if (kind == Kind.Tuple)
            {
                next = freeTuples;
                freeTuples = this;
            }
            else
            {
                next = freeCalls;
                freeCalls = this;
            }
        }
    }
}
