package org.quorvex;

import com.sun.jna.Pointer;
import com.sun.jna.ptr.IntByReference;
import java.util.ArrayList;
import java.util.Collections;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;

/**
 * An external procedure (NAME.hdvp found in the procedure paths). A procedure and its calls
 * may be used from any thread; a close while another thread is inside a call on the object
 * takes effect once that call returns.
 */
public final class Procedure extends NativeObject {
    private final String name;
    private final List<String> inputs;
    private final List<String> outputs;

    /**
     * Loads a procedure.
     *
     * @param name its name, without ".hdvp"
     * @throws NullPointerException the name is null
     * @throws IllegalArgumentException the name holds a NUL character
     * @throws QuorvexException the procedure is not found or does not load
     * @throws UnsatisfiedLinkError the native library cannot be loaded
     */
    public Procedure(String name) {
        super(newHandle(name));
        this.name = name;
        try {
            inputs = names(true);
            outputs = names(false);
        } catch (RuntimeException e) {
            close();
            throw e;
        }
    }

    private static Handle newHandle(String name) {
        Engine.ensureLoaded();
        byte[] encoded = Text.encode(name, "name");
        return create(out -> NativeApi.hcreateProcedure(encoded, out), NativeApi::hfreeProcedure, null, "Procedure " + name);
    }

    /**
     * The procedure's name.
     *
     * @return the name
     */
    public String getName() { return name; }

    /**
     * The names of the control inputs, in interface order.
     *
     * @return an unmodifiable list
     */
    public List<String> getInputControlNames() { return inputs; }

    /**
     * The names of the control outputs, in interface order.
     *
     * @return an unmodifiable list
     */
    public List<String> getOutputControlNames() { return outputs; }

    /**
     * The procedure's name.
     *
     * @return the same as {@link #getName()}
     * @deprecated use {@link #getName()}
     */
    @Deprecated
    public String name() { return name; }

    /**
     * The control inputs' names.
     *
     * @return the same as {@link #getInputControlNames()}
     * @deprecated use {@link #getInputControlNames()}
     */
    @Deprecated
    public List<String> inputControlNames() { return inputs; }

    /**
     * The control outputs' names.
     *
     * @return the same as {@link #getOutputControlNames()}
     * @deprecated use {@link #getOutputControlNames()}
     */
    @Deprecated
    public List<String> outputControlNames() { return outputs; }

    /**
     * A new call; it keeps this procedure's handle alive until the call is released.
     *
     * @return the call, which the caller closes
     * @throws QuorvexException the library could not create the call
     * @throws IllegalStateException the procedure is closed
     */
    public ProcedureCall createCall() {
        return new ProcedureCall(this);
    }

    /**
     * Runs the procedure once with inputs by name.
     *
     * @param inputValues each input's value, by name (see {@link ControlTuple#append(Object)})
     * @return the outputs by name, as lists
     * @throws IllegalArgumentException an unknown input, or a value that cannot become a tuple
     * @throws QuorvexException an input left unset, or a failure while the procedure runs
     * @throws IllegalStateException the procedure is closed
     */
    public Map<String, List<Object>> execute(Map<String, ?> inputValues) {
        // Numbers and values in two arrays, read in one pass: no copy of the entries.
        int count = inputValues.size(), given = 0;
        int[] numbers = new int[count];
        Object[] values = new Object[count];
        for (Map.Entry<String, ?> entry : inputValues.entrySet()) {
            if (given == count) throw new java.util.ConcurrentModificationException();
            numbers[given] = inputIndex(entry.getKey());
            values[given++] = entry.getValue();
        }
        // The call, its input tuples and its outputs live only here: bare pointers released
        // in finally blocks, where call objects would register each with the cleaner.
        Pointer procedure = handle.acquire();
        try {
            long call = HotPath.createCall(HotPath.address(procedure));
            try {
                for (int i = 0; i < given; ++i) ProcedureCall.setInput(call, numbers[i], values[i]);
                HotPath.execute(call);
                Map<String, List<Object>> results = new LinkedHashMap<>();
                for (int i = 0; i < outputs.size(); ++i) {
                    long tuple = HotPath.getOutput(call, i + 1);
                    try {
                        results.put(outputs.get(i), ControlTuple.read(tuple));
                    } finally {
                        HotPath.freeTuple(tuple);
                    }
                }
                return results;
            } finally {
                HotPath.freeCall(call);
            }
        } finally {
            handle.release();
        }
    }

    int inputIndex(String parameter) { return index(inputs, parameter, "input"); }
    int outputIndex(String parameter) { return index(outputs, parameter, "output"); }

    private int index(List<String> names, String parameter, String group) {
        int position = names.indexOf(parameter);
        if (position < 0)
            throw new IllegalArgumentException(name + " has no control " + group + " " + parameter + " (it has: " + String.join(", ", names) + ")");
        return position + 1;
    }

    private List<String> names(boolean input) {
        Pointer p = handle.acquire();
        try {
            IntByReference count = new IntByReference();
            QuorvexException.check(input ? NativeApi.hprocedureGetInputCtrlParamCount(p, count)
                                         : NativeApi.hprocedureGetOutputCtrlParamCount(p, count));
            List<String> names = new ArrayList<>();
            for (int i = 1; i <= count.getValue(); ++i) {
                Pointer text = NativeApi.outSlot();
                QuorvexException.check(input ? NativeApi.hprocedureGetInputCtrlParamName(p, i, text)
                                             : NativeApi.hprocedureGetOutputCtrlParamName(p, i, text));
                names.add(Text.copy(text.getPointer(0))); // the procedure's own text: copied only
            }
            return Collections.unmodifiableList(names);
        } finally {
            handle.release();
        }
    }
}
