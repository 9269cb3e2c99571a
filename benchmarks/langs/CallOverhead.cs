// One round trip of add.hdvp through the Quorvex package, or straight through P/Invoke with
// the exports declared here as quorvex.h declares them; prints the median nanoseconds per
// round trip. MODE: reused (one call object), fresh (a call object made and disposed each
// time) or pinvoke (a call made and freed each time, no package).
// Whole rounds run for WARMUP_MS milliseconds first, as in every language's program.
// Usage: CallOverhead.exe PROCEDURE_DIR [CALLS [ROUNDS [MODE [WARMUP_MS]]]]
using System;
using System.Diagnostics;
using System.Runtime.CompilerServices;
using System.Runtime.InteropServices;
using Quorvex;

public static class CallOverhead
{
    private static long RoundTrip(ProcedureCall call, int i)
    {
        call.SetInput(1, i);
        call.SetInput(2, 1);
        call.Execute();
        using (ControlTuple sum = call.GetOutput(1)) return sum.GetInteger(0);
    }

    private const string Lib = "quorvex32-11.0";
    [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] private static extern IntPtr hcreateProcedureCall(IntPtr procedure, out IntPtr call);
    [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] private static extern void hfreeProcedureCall(IntPtr call);
    [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] private static extern IntPtr hcreateProcedure(byte[] name, out IntPtr procedure);
    [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] private static extern IntPtr hcreateTuple(out IntPtr tuple);
    [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] private static extern void happendTupleLong(IntPtr tuple, int value);
    [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] private static extern void hfreeTuple(IntPtr tuple);
    [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] private static extern IntPtr hprocedurecallSetInputCtrlParamTuple(IntPtr call, int index, IntPtr tuple);
    [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] private static extern IntPtr hprocedurecallExecute(IntPtr call);
    [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] private static extern IntPtr hprocedurecallGetOutputCtrlParamTuple(IntPtr call, int index, out IntPtr tuple);
    [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] private static extern int hgetTupleElemType(IntPtr tuple, int index);
    [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] private static extern int hgetTupleElemLong(IntPtr tuple, int index);
    [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] private static extern double hgetTupleElemDouble(IntPtr tuple, int index);

    private static void Check(IntPtr record)
    {
        if (record != IntPtr.Zero) throw new InvalidOperationException("the library returned a record");
    }

    private static void SetLong(IntPtr call, int index, int value)
    {
        IntPtr tuple;
        Check(hcreateTuple(out tuple));
        happendTupleLong(tuple, value);
        Check(hprocedurecallSetInputCtrlParamTuple(call, index, tuple));
        hfreeTuple(tuple);
    }

    private static long DirectTrip(IntPtr add, int i)
    {
        IntPtr call, sum;
        Check(hcreateProcedureCall(add, out call));
        SetLong(call, 1, i);
        SetLong(call, 2, 1);
        Check(hprocedurecallExecute(call));
        Check(hprocedurecallGetOutputCtrlParamTuple(call, 1, out sum));
        long value = hgetTupleElemType(sum, 0) == 1 ? hgetTupleElemLong(sum, 0) : -1;
        value += (long)hgetTupleElemDouble(sum, 0) * 0;
        hfreeTuple(sum);
        hfreeProcedureCall(call);
        return value;
    }

    // Mono binds an import when it compiles the method calling it: after the package's load.
    [MethodImpl(MethodImplOptions.NoInlining)]
    private static IntPtr DirectProcedure()
    {
        IntPtr procedure;
        Check(hcreateProcedure(System.Text.Encoding.UTF8.GetBytes("add\0"), out procedure));
        return procedure;
    }

    public static int Main(string[] args)
    {
        int calls = args.Length > 1 ? int.Parse(args[1]) : 20000, rounds = args.Length > 2 ? int.Parse(args[2]) : 7;
        string mode = args.Length > 3 ? args[3] : "reused";
        double warmup = args.Length > 4 ? double.Parse(args[4], System.Globalization.CultureInfo.InvariantCulture) : 1000;
        Engine.Init();
        Engine.AddProcedurePath(args[0]);
        long total = 0;
        using (var add = new Procedure("add"))
        using (ProcedureCall reused = add.CreateCall())
        {
            IntPtr direct = IntPtr.Zero;
            if (mode == "pinvoke") direct = DirectProcedure();
            Func<int, long> trip;
            if (mode == "fresh")
                trip = i => { using (ProcedureCall call = add.CreateCall()) return RoundTrip(call, i); };
            else if (mode == "pinvoke")
                trip = i => DirectTrip(direct, i);
            else
                trip = i => RoundTrip(reused, i);
            for (Stopwatch warming = Stopwatch.StartNew(); warming.Elapsed.TotalMilliseconds < warmup;)
                for (int i = 0; i < calls; ++i) total += trip(i);
            var times = new double[rounds];
            for (int r = 0; r < rounds; ++r)
            {
                Stopwatch watch = Stopwatch.StartNew();
                for (int i = 0; i < calls; ++i) total += trip(i);
                times[r] = watch.Elapsed.TotalMilliseconds * 1e6 / calls;
            }
            Array.Sort(times);
            Console.WriteLine("{0:F1} {1}", times[rounds / 2], total);
        }
        return 0;
    }
}
