using System;
using System.Runtime.InteropServices;
using System.Security;

namespace Quorvex
{
    // The library's exports. Every one is cdecl, which is not the default of DllImport on
    // 32-bit Windows. Texts go in as NUL-terminated byte arrays (see Text) and come out as
    // IntPtr, so that the marshaller never frees memory it does not own. Every signature of
    // the hot path is blittable (IntPtr, int, double, out IntPtr): no call copies or converts.
    // The .NET Framework walks the stack for a permission check on each call into native code
    // unless told not to; these calls need no permission of their own.
    [SuppressUnmanagedCodeSecurity]
    internal static class NativeMethods
    {
        internal const string Library = "quorvex32-11.0";
        private const CallingConvention Cdecl = CallingConvention.Cdecl;

        [UnmanagedFunctionPointer(CallingConvention.Cdecl)]
        internal delegate void MessageCallback(IntPtr text);

        [DllImport(Library, CallingConvention = Cdecl)] internal static extern void hclearErrorMsg(IntPtr msg);
        [DllImport(Library, CallingConvention = Cdecl)] internal static extern IntPtr hinit(int mode);
        [DllImport(Library, CallingConvention = Cdecl)] internal static extern int hprepareShutdown();
        [DllImport(Library, CallingConvention = Cdecl)] internal static extern IntPtr hsetEngineAttribute(byte[] name, byte[] value);
        [DllImport(Library, CallingConvention = Cdecl)] internal static extern IntPtr hsetEngineAttributeInt(byte[] name, int value);
        [DllImport(Library, CallingConvention = Cdecl)] internal static extern IntPtr haddProcedurePath(byte[] path);
        [DllImport(Library, CallingConvention = Cdecl)] internal static extern IntPtr hunloadAllProcedures();
        [DllImport(Library, CallingConvention = Cdecl)] internal static extern IntPtr hgetsystem(byte[] query, out IntPtr tuple);
        [DllImport(Library, CallingConvention = Cdecl)] internal static extern IntPtr hstartDebugServer();
        [DllImport(Library, CallingConvention = Cdecl)] internal static extern IntPtr hstopDebugServer();

        // Tuples and procedure calls are bare pointers: CountedHandle holds them for the
        // length of each call (ControlTuple.Acquire, ProcedureCall.Acquire).
        [DllImport(Library, CallingConvention = Cdecl)] internal static extern IntPtr hcreateTuple(out IntPtr tuple);
        [DllImport(Library, CallingConvention = Cdecl)] internal static extern void happendTupleDouble(IntPtr tuple, double value);
        [DllImport(Library, CallingConvention = Cdecl)] internal static extern void happendTupleLong(IntPtr tuple, int value);
        [DllImport(Library, CallingConvention = Cdecl)] internal static extern void happendTupleString(IntPtr tuple, byte[] value);
        [DllImport(Library, CallingConvention = Cdecl)] internal static extern int hgetTupleLength(IntPtr tuple);
        [DllImport(Library, CallingConvention = Cdecl)] internal static extern int hgetTupleElemType(IntPtr tuple, int index);
        [DllImport(Library, CallingConvention = Cdecl)] internal static extern double hgetTupleElemDouble(IntPtr tuple, int index);
        [DllImport(Library, CallingConvention = Cdecl)] internal static extern int hgetTupleElemLong(IntPtr tuple, int index);
        [DllImport(Library, CallingConvention = Cdecl)] internal static extern IntPtr hgetTupleElemString_TO_BE_FREED(IntPtr tuple, int index);
        [DllImport(Library, CallingConvention = Cdecl)] internal static extern void hfreeTupleElemString(IntPtr text);
        [DllImport(Library, CallingConvention = Cdecl)] internal static extern void hfreeTuple(IntPtr tuple);

        [DllImport(Library, CallingConvention = Cdecl)] internal static extern IntPtr hcreateProgram(byte[] file, out ProgramHandle program);
        [DllImport(Library, CallingConvention = Cdecl)] internal static extern IntPtr hcreateProgramCall(ProgramHandle program, out ProgramCallHandle call);
        [DllImport(Library, CallingConvention = Cdecl)] internal static extern IntPtr hprogramcallExecute(ProgramCallHandle call);
        [DllImport(Library, CallingConvention = Cdecl)] internal static extern void hfreeProgram(IntPtr program);
        [DllImport(Library, CallingConvention = Cdecl)] internal static extern void hfreeProgramCall(IntPtr call);

        [DllImport(Library, CallingConvention = Cdecl)] internal static extern IntPtr hcreateProcedure(byte[] name, out ProcedureHandle procedure);
        // The procedure's reference is held by the caller (DangerousAddRef) for the call's life.
        [DllImport(Library, CallingConvention = Cdecl)] internal static extern IntPtr hcreateProcedureCall(IntPtr procedure, out IntPtr call);
        [DllImport(Library, CallingConvention = Cdecl)] internal static extern IntPtr hprocedurecallSetInputCtrlParamTuple(IntPtr call, int index, IntPtr tuple);
        [DllImport(Library, CallingConvention = Cdecl)] internal static extern IntPtr hprocedurecallExecute(IntPtr call);
        [DllImport(Library, CallingConvention = Cdecl)] internal static extern IntPtr hprocedurecallGetOutputCtrlParamTuple(IntPtr call, int index, out IntPtr tuple);
        [DllImport(Library, CallingConvention = Cdecl)] internal static extern IntPtr hprocedureGetInputCtrlParamCount(ProcedureHandle procedure, out int count);
        [DllImport(Library, CallingConvention = Cdecl)] internal static extern IntPtr hprocedureGetOutputCtrlParamCount(ProcedureHandle procedure, out int count);
        [DllImport(Library, CallingConvention = Cdecl)] internal static extern IntPtr hprocedureGetInputIconicParamCount(ProcedureHandle procedure, out int count);
        [DllImport(Library, CallingConvention = Cdecl)] internal static extern IntPtr hprocedureGetOutputIconicParamCount(ProcedureHandle procedure, out int count);
        // Parameter names belong to the procedure: IntPtr, never a string the marshaller frees.
        [DllImport(Library, CallingConvention = Cdecl)] internal static extern IntPtr hprocedureGetInputCtrlParamName(ProcedureHandle procedure, int index, out IntPtr name);
        [DllImport(Library, CallingConvention = Cdecl)] internal static extern IntPtr hprocedureGetOutputCtrlParamName(ProcedureHandle procedure, int index, out IntPtr name);
        [DllImport(Library, CallingConvention = Cdecl)] internal static extern void hfreeProcedure(IntPtr procedure);
        [DllImport(Library, CallingConvention = Cdecl)] internal static extern void hfreeProcedureCall(IntPtr call);

        [DllImport(Library, CallingConvention = Cdecl)] internal static extern int hsetFullscreen(int enable);
        [DllImport(Library, CallingConvention = Cdecl)] internal static extern IntPtr hopenDefaultWindow();
        [DllImport(Library, CallingConvention = Cdecl)] internal static extern IntPtr hsetStdOutHandler(MessageCallback handler);
        [DllImport(Library, CallingConvention = Cdecl)] internal static extern IntPtr hsetStdErrHandler(MessageCallback handler);
        [DllImport(Library, CallingConvention = Cdecl)] internal static extern IntPtr hsetVerbosity(int verbosity);
    }

    // The error record as the library lays it out: pointers are pointer-sized, so the
    // record is eight 32-bit fields on 32-bit targets and 48 bytes on 64-bit ones.
    [StructLayout(LayoutKind.Sequential)]
    internal struct ErrorRecord
    {
        internal int Kind;
        internal IntPtr ProcName;
        internal IntPtr ProgLineName;
        internal int ErrorCode;
        internal int ProgLineNum;
        internal IntPtr Message;
        internal IntPtr ErrorText;
        internal IntPtr Reserved;
    }
}
