package org.quorvex;

import com.sun.jna.Pointer;
import java.util.List;

/** A call of a procedure: set inputs, execute, read outputs; reusable. */
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
                          procedure.handle, "ProcedureCall of " + procedure.name());
        } catch (RuntimeException e) {
            procedure.handle.release();
            throw e;
        }
    }

    public Procedure procedure() { return procedure; }

    /** Sets a control input by position, counted from 1; the call keeps a copy. */
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

    public void setInput(int index, Object value) {
        if (value instanceof ControlTuple) {
            setInput(index, (ControlTuple) value);
            return;
        }
        try (ControlTuple converted = ControlTuple.of(value)) {
            setInput(index, converted);
        }
    }

    public void setInput(String name, Object value) {
        setInput(procedure.inputIndex(name), value);
    }

    /** Runs the procedure; a message listener may run one too (see {@link Messages}). */
    public void execute() {
        Pointer p = handle.acquire();
        try {
            QuorvexException.check(NativeApi.hprocedurecallExecute(p));
        } finally {
            handle.release();
        }
    }

    /** A new tuple with a copy of the output, counted from 1; the caller closes it. */
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

    public ControlTuple getOutput(String name) {
        return getOutput(procedure.outputIndex(name));
    }

    public List<Object> getOutputValues(String name) {
        try (ControlTuple tuple = getOutput(name)) {
            return tuple.toList();
        }
    }
}
