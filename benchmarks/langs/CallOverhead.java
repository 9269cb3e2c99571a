// One round trip of add.hdvp through a reused call, through the org.quorvex package; prints
// the median nanoseconds per round trip. Usage: CallOverhead PROCEDURE_DIR [CALLS [ROUNDS]]
import java.util.Arrays;
import org.quorvex.ControlTuple;
import org.quorvex.Engine;
import org.quorvex.Procedure;
import org.quorvex.ProcedureCall;

public final class CallOverhead {
    private static long roundTrip(ProcedureCall call, int i) {
        call.setInput(1, i);
        call.setInput(2, 1);
        call.execute();
        try (ControlTuple sum = call.getOutput(1)) {
            return sum.getInteger(0);
        }
    }

    public static void main(String[] args) {
        int calls = args.length > 1 ? Integer.parseInt(args[1]) : 20000;
        int rounds = args.length > 2 ? Integer.parseInt(args[2]) : 7;
        Engine.init(false);
        Engine.addProcedurePath(args[0]);
        long total = 0;
        try (Procedure add = new Procedure("add"); ProcedureCall call = add.createCall()) {
            for (int i = 0; i < calls; ++i) total += roundTrip(call, i);
            double[] times = new double[rounds];
            for (int r = 0; r < rounds; ++r) {
                long start = System.nanoTime();
                for (int i = 0; i < calls; ++i) total += roundTrip(call, i);
                times[r] = (double) (System.nanoTime() - start) / calls;
            }
            Arrays.sort(times);
            System.out.printf("%.1f %d%n", times[rounds / 2], total);
        }
    }
}
