package org.quorvex;

import com.sun.jna.Pointer;
import com.sun.jna.ptr.IntByReference;
import java.util.ArrayList;
import java.util.Collections;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;

/** An external procedure (NAME.hdvp found in the procedure paths). */
public final class Procedure extends NativeObject {
    private final String name;
    private final List<String> inputs;
    private final List<String> outputs;

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

    public String name() { return name; }
    public List<String> inputControlNames() { return inputs; }
    public List<String> outputControlNames() { return outputs; }

    /** A new call; it keeps this procedure's handle alive until the call is released. */
    public ProcedureCall createCall() {
        return new ProcedureCall(this);
    }

    /** Runs the procedure once with inputs by name; the outputs by name, as lists. */
    public Map<String, List<Object>> execute(Map<String, ?> inputValues) {
        try (ProcedureCall call = createCall()) {
            for (Map.Entry<String, ?> input : inputValues.entrySet()) call.setInput(input.getKey(), input.getValue());
            call.execute();
            Map<String, List<Object>> results = new LinkedHashMap<>();
            for (String output : outputs) results.put(output, call.getOutputValues(output));
            return results;
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
