package org.quorvex;

import com.sun.jna.Pointer;
import java.util.List;

/** A call of a procedure: set inputs, execute, read outputs; reusable (see {@link Procedure}
 *  for threads). */
public final class ProcedureCall extends NativeObject {
    private final Procedure procedure;

    ProcedureCall(Procedure procedure) {
        super(newHandle(procedure));
        this.procedure = procedure;
    }

    // The parent's reference taken here is given back when the call's handle is released.
    private static Handle newHandle(Procedure procedure) {
        Pointer parent = procedure.handle.acquire();
        try {
            return create(out -> NativeApi.hcreateProcedureCall(parent, out), NativeApi::hfreeProcedureCall,
                          procedure.handle, "ProcedureCall of " + procedure.getName());
        } catch (RuntimeException e) {
            procedure.handle.release();
            throw e;
        }
    }

    /**
     * The procedure this call runs.
     *
     * @return the procedure
     */
    public Procedure getProcedure() { return procedure; }

    /**
     * The procedure this call runs.
     *
     * @return the same as {@link #getProcedure()}
     * @deprecated use {@link #getProcedure()}
     */
    @Deprecated
    public Procedure procedure() { return procedure; }

    /**
     * Sets a control input by position, counted from 1; the call keeps a copy.
     *
     * @param index the input, from 1
     * @param value the tuple
     * @throws QuorvexException the index is out of range
     * @throws IllegalStateException the call or the tuple is closed
     */
    public void setInput(int index, ControlTuple value) {
        Pointer tuple = value.handle.acquire();
        try {
            Pointer p = handle.acquire();
            try {
                QuorvexException.check(NativeApi.hprocedurecallSetInputCtrlParamTuple(p, index, tuple));
            } finally {
                handle.release();
            }
        } finally {
            value.handle.release();
        }
    }

    /**
     * Sets a control input by position, counted from 1.
     *
     * @param index the input, from 1
     * @param value a tuple, or a value {@link ControlTuple#append(Object)} takes
     * @throws IllegalArgumentException the value cannot become a tuple
     * @throws ArithmeticException an integer beyond 32 bits
     * @throws QuorvexException the index is out of range
     * @throws IllegalStateException the call is closed
     */
    public void setInput(int index, Object value) {
        if (value instanceof ControlTuple) {
            setInput(index, (ControlTuple) value);
            return;
        }
        Pointer p = handle.acquire();
        try {
            setInput(HotPath.address(p), index, value);
        } finally {
            handle.release();
        }
    }

    /** Sets an input of a call the caller holds; a single number or string goes through a
     *  bare tuple released here, anything else through a {@link ControlTuple}. */
    static void setInput(long call, int index, Object value) {
        if (value instanceof Integer) {
            // The commonest input, ahead of the classification below.
            setInteger(call, index, (Integer) value);
            return;
        }
        if (value instanceof ControlTuple) {
            ControlTuple given = (ControlTuple) value;
            Pointer tuple = given.handle.acquire();
            try {
                HotPath.setInput(call, index, HotPath.address(tuple));
            } finally {
                given.handle.release();
            }
            return;
        }
        boolean scalar = value instanceof Integer || value instanceof Double || value instanceof String
            || (value instanceof Long && (Long) value >= Integer.MIN_VALUE && (Long) value <= Integer.MAX_VALUE);
        if (!scalar) {
            try (ControlTuple converted = ControlTuple.of(value)) {
                setInput(call, index, converted);
            }
            return;
        }
        byte[] text = value instanceof String ? Text.encode((String) value, "value") : null;
        Pointer slot = NativeApi.outSlot();
        QuorvexException.check(NativeApi.hcreateTuple(slot));
        Pointer tuple = slot.getPointer(0);
        try {
            if (text != null) NativeApi.happendTupleString(tuple, text);
            else if (value instanceof Double) NativeApi.happendTupleDouble(tuple, (Double) value);
            else NativeApi.happendTupleLong(tuple, ((Number) value).intValue());
            if (NativeApi.hgetTupleLength(tuple) != 1)
                throw new IllegalStateException("the library refused the value " + value);
            HotPath.setInput(call, index, HotPath.address(tuple));
        } finally {
            NativeApi.hfreeTuple(tuple);
        }
    }

    private static void setInteger(long call, int index, int value) {
        long tuple = HotPath.createTuple();
        try {
            HotPath.appendLong(tuple, value);
            // The library reports nothing about an append: a refused one leaves the tuple empty.
            if (HotPath.length(tuple) != 1)
                throw new IllegalStateException("the library refused the value " + value);
            HotPath.setInput(call, index, tuple);
        } finally {
            HotPath.freeTuple(tuple);
        }
    }

    /**
     * Sets a control input by name.
     *
     * @param name the input's name
     * @param value a tuple, or a value {@link ControlTuple#append(Object)} takes
     * @throws IllegalArgumentException an unknown name, or a value that cannot become a tuple
     * @throws ArithmeticException an integer beyond 32 bits
     * @throws IllegalStateException the call is closed
     */
    public void setInput(String name, Object value) {
        setInput(procedure.inputIndex(name), value);
    }

    /**
     * Runs the procedure; a message listener may run one too (see {@link Messages}).
     *
     * @throws QuorvexException an input is unset, or a line fails
     * @throws IllegalStateException the call is closed
     */
    public void execute() {
        Pointer p = handle.acquire();
        try {
            QuorvexException.check(NativeApi.hprocedurecallExecute(p));
        } finally {
            handle.release();
        }
    }

    /**
     * A new tuple with a copy of an output.
     *
     * @param index the output, from 1
     * @return the tuple, which the caller closes
     * @throws QuorvexException the index is out of range
     * @throws IllegalStateException the call is closed
     */
    public ControlTuple getOutput(int index) {
        Pointer p = handle.acquire();
        try {
            Pointer out = NativeApi.outSlot();
            QuorvexException.check(NativeApi.hprocedurecallGetOutputCtrlParamTuple(p, index, out));
            return ControlTuple.wrap(out.getPointer(0));
        } finally {
            handle.release();
        }
    }

    /**
     * A new tuple with a copy of an output.
     *
     * @param name the output's name
     * @return the tuple, which the caller closes
     * @throws IllegalArgumentException an unknown name
     * @throws IllegalStateException the call is closed
     */
    public ControlTuple getOutput(String name) {
        return getOutput(procedure.outputIndex(name));
    }

    /**
     * An output's values (see {@link ControlTuple#toList()}).
     *
     * @param name the output's name
     * @return a new list
     * @throws IllegalArgumentException an unknown name
     * @throws IllegalStateException the call is closed
     */
    public List<Object> getOutputValues(String name) {
        try (ControlTuple tuple = getOutput(name)) {
            return tuple.toList();
        }
    }
}
