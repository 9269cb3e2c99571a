using System;
using System.Runtime.CompilerServices;
using System.Runtime.InteropServices;

namespace Quorvex
{
    // The tuple functions that touch a tuple and the C allocator and nothing else. On Mono
    // every P/Invoke moves the thread into the collector's safe state and back (hybrid
    // suspend, Mono's default), which costs several times what one of these functions does:
    // registered as the runtime's raw internal calls they run without that switch, as the
    // runtime's own internal calls do. What makes that safe is what they do not do: they reach
    // no engine state and take none of the library's locks (quorvex.h, conventions 5 and the
    // message section), send no message and so never call back into managed code, and run for
    // a bounded, short time. A collection waits for such a call to return: it first lets every
    // thread in managed code stop itself, this one included, and only then stops the threads
    // inside a P/Invoke, so such a call never waits for a lock that a stopped thread holds
    // (the allocator's). The reads take an index in range: out of range the library throws and catches an exception
    // inside, so Type checks the index against the length first. Strings stay P/Invoke (an
    // internal call passes an array as the object, unconverted), and so does every other
    // export, and all of them where the runtime is not Mono, the registration fails, or
    // QUORVEX_DOTNET_RAW_CALLS is 0.
    internal static class TupleCalls
    {
        // Before Direct: static fields are set up in the order they are written.
        private static readonly string[] Exports =
        {
            "hcreateTuple", "happendTupleLong", "happendTupleDouble", "hfreeTuple",
            "hgetTupleLength", "hgetTupleElemType", "hgetTupleElemDouble", "hgetTupleElemLong",
        };

        private static readonly bool Direct = Register();

        internal static IntPtr Create(out IntPtr tuple)
        {
            return Direct ? RawCalls.Create(out tuple) : NativeMethods.hcreateTuple(out tuple);
        }

        internal static void AppendLong(IntPtr tuple, int value)
        {
            if (Direct) RawCalls.AppendLong(tuple, value);
            else NativeMethods.happendTupleLong(tuple, value);
        }

        internal static void AppendDouble(IntPtr tuple, double value)
        {
            if (Direct) RawCalls.AppendDouble(tuple, value);
            else NativeMethods.happendTupleDouble(tuple, value);
        }

        internal static void Free(IntPtr tuple)
        {
            if (Direct) RawCalls.Free(tuple);
            else NativeMethods.hfreeTuple(tuple);
        }

        internal static int Length(IntPtr tuple)
        {
            return Direct ? RawCalls.Length(tuple) : NativeMethods.hgetTupleLength(tuple);
        }

        // The element's type, or 0 (ElementType.None) for an index out of range.
        internal static int Type(IntPtr tuple, int index)
        {
            if (!Direct) return NativeMethods.hgetTupleElemType(tuple, index);
            return (uint)index < (uint)RawCalls.Length(tuple) ? RawCalls.Type(tuple, index) : 0;
        }

        // Double and Long: the index is one that Type found in range.
        internal static double Double(IntPtr tuple, int index)
        {
            return Direct ? RawCalls.Double(tuple, index) : NativeMethods.hgetTupleElemDouble(tuple, index);
        }

        internal static int Long(IntPtr tuple, int index)
        {
            return Direct ? RawCalls.Long(tuple, index) : NativeMethods.hgetTupleElemLong(tuple, index);
        }

        // Called once the library is loaded (Library.Load): the class is set up then, and the
        // methods compiled after it take the flag as a constant.
        internal static bool Prepare()
        {
            return Direct;
        }

        private static bool Register()
        {
            IntPtr module = Library.Module;
            if (module == IntPtr.Zero || System.Type.GetType("Mono.Runtime") == null) return false;
            if (Environment.GetEnvironmentVariable("QUORVEX_DOTNET_RAW_CALLS") == "0") return false;
            try
            {
                var addresses = new IntPtr[Exports.Length];
                for (int i = 0; i < Exports.Length; ++i)
                {
                    addresses[i] = Library.Symbol(module, Exports[i]);
                    if (addresses[i] == IntPtr.Zero) return false;
                }
                for (int i = 0; i < Exports.Length; ++i)
                    AddRaw(typeof(RawCalls).FullName + "::" + Exports[i], addresses[i]);
                return true;
            }
            catch (Exception)
            {
                // No such entry point in this runtime (or not Mono after all): P/Invoke.
                return false;
            }
        }

        [MethodImpl(MethodImplOptions.NoInlining)]
        private static void AddRaw(string name, IntPtr address)
        {
            mono_dangerous_add_raw_internal_call(System.Text.Encoding.ASCII.GetBytes(name + "\0"), address);
        }

        [DllImport("__Internal")]
        private static extern void mono_dangerous_add_raw_internal_call(byte[] name, IntPtr method);
    }

    // Bound by name to the library's exports by TupleCalls. Mono resolves an internal call
    // when it compiles a method that calls one, so each is called from a method of its own,
    // compiled only when TupleCalls uses it.
    internal static class RawCalls
    {
        [MethodImpl(MethodImplOptions.NoInlining)] internal static IntPtr Create(out IntPtr tuple) { return hcreateTuple(out tuple); }
        [MethodImpl(MethodImplOptions.NoInlining)] internal static void AppendLong(IntPtr tuple, int value) { happendTupleLong(tuple, value); }
        [MethodImpl(MethodImplOptions.NoInlining)] internal static void AppendDouble(IntPtr tuple, double value) { happendTupleDouble(tuple, value); }
        [MethodImpl(MethodImplOptions.NoInlining)] internal static void Free(IntPtr tuple) { hfreeTuple(tuple); }
        [MethodImpl(MethodImplOptions.NoInlining)] internal static int Length(IntPtr tuple) { return hgetTupleLength(tuple); }
        [MethodImpl(MethodImplOptions.NoInlining)] internal static int Type(IntPtr tuple, int index) { return hgetTupleElemType(tuple, index); }
        [MethodImpl(MethodImplOptions.NoInlining)] internal static double Double(IntPtr tuple, int index) { return hgetTupleElemDouble(tuple, index); }
        [MethodImpl(MethodImplOptions.NoInlining)] internal static int Long(IntPtr tuple, int index) { return hgetTupleElemLong(tuple, index); }

        [MethodImpl(MethodImplOptions.InternalCall)] private static extern IntPtr hcreateTuple(out IntPtr tuple);
        [MethodImpl(MethodImplOptions.InternalCall)] private static extern void happendTupleLong(IntPtr tuple, int value);
        [MethodImpl(MethodImplOptions.InternalCall)] private static extern void happendTupleDouble(IntPtr tuple, double value);
        [MethodImpl(MethodImplOptions.InternalCall)] private static extern void hfreeTuple(IntPtr tuple);
        [MethodImpl(MethodImplOptions.InternalCall)] private static extern int hgetTupleLength(IntPtr tuple);
        [MethodImpl(MethodImplOptions.InternalCall)] private static extern int hgetTupleElemType(IntPtr tuple, int index);
        [MethodImpl(MethodImplOptions.InternalCall)] private static extern double hgetTupleElemDouble(IntPtr tuple, int index);
        [MethodImpl(MethodImplOptions.InternalCall)] private static extern int hgetTupleElemLong(IntPtr tuple, int index);
    }
}
