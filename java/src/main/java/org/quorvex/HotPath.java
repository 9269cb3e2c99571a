package org.quorvex;

import com.sun.jna.Native;
import com.sun.jna.NativeLibrary;
import com.sun.jna.Pointer;

/**
 * The native calls of a procedure run (making the call, setting a number, executing, reading
 * the outputs, freeing) with handles as addresses. JNA's direct mapping passes primitive
 * arguments and results straight on, but turns each {@link Pointer} argument into an address
 * with a call back into the JVM and returns each pointer as a new object. A Java long holds
 * an address only where pointers are 64 bits wide: on 32-bit platforms the same calls go
 * through {@link NativeApi}'s pointer mapping. The callers hold the handles they pass (see
 * {@link Handle}), as for every other native call.
 */
final class HotPath {
    /** A constant for the JIT: the branch not taken is compiled away. */
    private static final boolean WIDE = Native.POINTER_SIZE == 8;

    private HotPath() {}

    /** The exports as 64-bit platforms take them; registered only there. */
    private static final class Wide {
        static native long hcreateTuple(long tuple);
        static native void happendTupleLong(long tuple, int value);
        static native int hgetTupleLength(long tuple);
        static native int hgetTupleElemType(long tuple, int index);
        static native double hgetTupleElemDouble(long tuple, int index);
        static native int hgetTupleElemLong(long tuple, int index);
        static native void hfreeTuple(long tuple);
        static native long hcreateProcedureCall(long procedure, long call);
        static native long hprocedurecallSetInputCtrlParamTuple(long call, int index, long tuple);
        static native long hprocedurecallExecute(long call);
        static native long hprocedurecallGetOutputCtrlParamTuple(long call, int index, long tuple);
        static native void hfreeProcedureCall(long call);

        private Wide() {}
    }

    static void register(NativeLibrary library) {
        if (WIDE) Native.register(Wide.class, library);
    }

    static long address(Pointer pointer) {
        return Pointer.nativeValue(pointer);
    }

    private static Pointer pointer(long address) {
        return address == 0 ? null : new Pointer(address);
    }

    private static void check(long record) {
        if (record != 0) throw QuorvexException.fromRecord(new Pointer(record));
    }

    /** A new empty tuple, which the caller frees. */
    static long createTuple() {
        NativeApi.Slot slot = NativeApi.slot();
        check(WIDE ? Wide.hcreateTuple(slot.address()) : address(NativeApi.hcreateTuple(slot)));
        return slot.value();
    }

    static void appendLong(long tuple, int value) {
        if (WIDE) Wide.happendTupleLong(tuple, value);
        else NativeApi.happendTupleLong(pointer(tuple), value);
    }

    static int length(long tuple) {
        return WIDE ? Wide.hgetTupleLength(tuple) : NativeApi.hgetTupleLength(pointer(tuple));
    }

    static int type(long tuple, int index) {
        return WIDE ? Wide.hgetTupleElemType(tuple, index) : NativeApi.hgetTupleElemType(pointer(tuple), index);
    }

    static double real(long tuple, int index) {
        return WIDE ? Wide.hgetTupleElemDouble(tuple, index) : NativeApi.hgetTupleElemDouble(pointer(tuple), index);
    }

    static int low(long tuple, int index) {
        return WIDE ? Wide.hgetTupleElemLong(tuple, index) : NativeApi.hgetTupleElemLong(pointer(tuple), index);
    }

    static void freeTuple(long tuple) {
        if (WIDE) Wide.hfreeTuple(tuple);
        else NativeApi.hfreeTuple(pointer(tuple));
    }

    /** A new call of the procedure, which the caller frees. */
    static long createCall(long procedure) {
        NativeApi.Slot slot = NativeApi.slot();
        check(WIDE ? Wide.hcreateProcedureCall(procedure, slot.address())
                   : address(NativeApi.hcreateProcedureCall(pointer(procedure), slot)));
        return slot.value();
    }

    static void setInput(long call, int index, long tuple) {
        check(WIDE ? Wide.hprocedurecallSetInputCtrlParamTuple(call, index, tuple)
                   : address(NativeApi.hprocedurecallSetInputCtrlParamTuple(pointer(call), index, pointer(tuple))));
    }

    static void execute(long call) {
        check(WIDE ? Wide.hprocedurecallExecute(call) : address(NativeApi.hprocedurecallExecute(pointer(call))));
    }

    /** A new tuple with a copy of the output, which the caller frees. */
    static long getOutput(long call, int index) {
        NativeApi.Slot slot = NativeApi.slot();
        check(WIDE ? Wide.hprocedurecallGetOutputCtrlParamTuple(call, index, slot.address())
                   : address(NativeApi.hprocedurecallGetOutputCtrlParamTuple(pointer(call), index, slot)));
        return slot.value();
    }

    static void freeCall(long call) {
        if (WIDE) Wide.hfreeProcedureCall(call);
        else NativeApi.hfreeProcedureCall(pointer(call));
    }
}
