package org.quorvex;

/** An HDevelop program file (.hdev), run through its main procedure. */
public final class Program extends NativeObject {
    private final String file;

    public Program(String file) {
        super(newHandle(file));
        this.file = file;
    }

    private static Handle newHandle(String file) {
        Engine.ensureLoaded();
        byte[] encoded = Text.encode(file, "file");
        return create(out -> NativeApi.hcreateProgram(encoded, out), NativeApi::hfreeProgram, null, "Program " + file);
    }

    public String file() { return file; }

    /** A new call of main; it keeps this program's handle alive until the call is released. */
    public ProgramCall createCall() {
        return new ProgramCall(this);
    }

    /** Runs main once. */
    public void execute() {
        try (ProgramCall call = createCall()) {
            call.execute();
        }
    }
}
