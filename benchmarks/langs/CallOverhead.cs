// One round trip of add.hdvp through a reused call, through the Quorvex package; prints the
// median nanoseconds per round trip. Usage: CallOverhead.exe PROCEDURE_DIR [CALLS [ROUNDS]]
using System;
using System.Diagnostics;
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

    public static int Main(string[] args)
    {
        int calls = args.Length > 1 ? int.Parse(args[1]) : 20000, rounds = args.Length > 2 ? int.Parse(args[2]) : 7;
        Engine.Init();
        Engine.AddProcedurePath(args[0]);
        long total = 0;
        using (var add = new Procedure("add"))
        using (ProcedureCall call = add.CreateCall())
        {
            for (int i = 0; i < calls; ++i) total += RoundTrip(call, i);
            var times = new double[rounds];
            for (int r = 0; r < rounds; ++r)
            {
                Stopwatch watch = Stopwatch.StartNew();
                for (int i = 0; i < calls; ++i) total += RoundTrip(call, i);
                times[r] = watch.Elapsed.TotalMilliseconds * 1e6 / calls;
            }
            Array.Sort(times);
            Console.WriteLine("{0:F1} {1}", times[rounds / 2], total);
        }
        return 0;
    }
}
