// One round trip of add.hdvp through the org.quorvex package, or straight through JNA's
// direct mapping with the exports declared here as quorvex.h declares them; prints the median
// nanoseconds per round trip. MODE: reused (one call object), map (Procedure.execute(Map), a
// call made and closed each time) or jna (a call made and freed each time, no package).
// Whole rounds run for WARMUP_MS milliseconds first, so that the JIT has compiled the loop.
// Usage: CallOverhead PROCEDURE_DIR [CALLS [ROUNDS [MODE [WARMUP_MS]]]]
import com.sun.jna.Memory;
import com.sun.jna.Native;
import com.sun.jna.NativeLibrary;
import com.sun.jna.Pointer;
import java.util.Arrays;
import java.util.Map;
import java.util.function.IntToLongFunction;
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

    /** The exports a round trip needs, by JNA's direct mapping. */
    static final class Direct {
        static native Pointer hcreateProcedure(byte[] name, Pointer procedure);
        static native Pointer hcreateProcedureCall(Pointer procedure, Pointer call);
        static native void hfreeProcedureCall(Pointer call);
        static native Pointer hcreateTuple(Pointer tuple);
        static native void happendTupleLong(Pointer tuple, int value);
        static native void hfreeTuple(Pointer tuple);
        static native Pointer hprocedurecallSetInputCtrlParamTuple(Pointer call, int index, Pointer tuple);
        static native Pointer hprocedurecallExecute(Pointer call);
        static native Pointer hprocedurecallGetOutputCtrlParamTuple(Pointer call, int index, Pointer tuple);
        static native int hgetTupleElemType(Pointer tuple, int index);
        static native int hgetTupleElemLong(Pointer tuple, int index);
        static native double hgetTupleElemDouble(Pointer tuple, int index);

        static void register() {
            Native.register(Direct.class, NativeLibrary.getInstance(Engine.getLibraryPath()));
        }
    }

    private static final Memory SLOT = new Memory(Native.POINTER_SIZE);

    private static void check(Pointer record) {
        if (record != null) throw new IllegalStateException("the library returned a record");
    }

    private static void setLong(Pointer call, int index, int value) {
        check(Direct.hcreateTuple(SLOT));
        Pointer tuple = SLOT.getPointer(0);
        Direct.happendTupleLong(tuple, value);
        check(Direct.hprocedurecallSetInputCtrlParamTuple(call, index, tuple));
        Direct.hfreeTuple(tuple);
    }

    private static long directTrip(Pointer add, int i) {
        check(Direct.hcreateProcedureCall(add, SLOT));
        Pointer call = SLOT.getPointer(0);
        setLong(call, 1, i);
        setLong(call, 2, 1);
        check(Direct.hprocedurecallExecute(call));
        check(Direct.hprocedurecallGetOutputCtrlParamTuple(call, 1, SLOT));
        Pointer sum = SLOT.getPointer(0);
        long value = Direct.hgetTupleElemType(sum, 0) == 1 ? Direct.hgetTupleElemLong(sum, 0) : -1;
        value += (long) Direct.hgetTupleElemDouble(sum, 0) * 0;
        Direct.hfreeTuple(sum);
        Direct.hfreeProcedureCall(call);
        return value;
    }

    public static void main(String[] args) {
        int calls = args.length > 1 ? Integer.parseInt(args[1]) : 20000;
        int rounds = args.length > 2 ? Integer.parseInt(args[2]) : 7;
        String mode = args.length > 3 ? args[3] : "reused";
        long warmup = (long) ((args.length > 4 ? Double.parseDouble(args[4]) : 1000) * 1e6);
        Engine.init(false);
        Engine.addProcedurePath(args[0]);
        long total = 0;
        try (Procedure add = new Procedure("add"); ProcedureCall reused = add.createCall()) {
            IntToLongFunction trip;
            if (mode.equals("map")) {
                trip = i -> (Long) add.execute(Map.of("A", i, "B", 1)).get("Sum").get(0);
            } else if (mode.equals("jna")) {
                Direct.register();
                check(Direct.hcreateProcedure("add\0".getBytes(java.nio.charset.StandardCharsets.UTF_8), SLOT));
                Pointer direct = SLOT.getPointer(0);
                trip = i -> directTrip(direct, i);
            } else {
                trip = i -> roundTrip(reused, i);
            }
            for (long start = System.nanoTime(); System.nanoTime() - start < warmup;)
                for (int i = 0; i < calls; ++i) total += trip.applyAsLong(i);
            double[] times = new double[rounds];
            for (int r = 0; r < rounds; ++r) {
                long start = System.nanoTime();
                for (int i = 0; i < calls; ++i) total += trip.applyAsLong(i);
                times[r] = (double) (System.nanoTime() - start) / calls;
            }
            Arrays.sort(times);
            System.out.printf("%.1f %d%n", times[rounds / 2], total);
        }
    }
}
