package org.quorvex;

/** An HDevelop program file (.hdev), run through its main procedure. Threads: as for
 *  {@link Procedure}. */
public final class Program extends NativeObject {
    private final String file;

    /**
     * Loads a program file.
     *
     * @param file the .hdev file
     * @throws NullPointerException the file is null
     * @throws IllegalArgumentException the file name holds a NUL character
     * @throws QuorvexException the file is missing or does not load
     * @throws UnsatisfiedLinkError the native library cannot be loaded
     */
    public Program(String file) {
        super(newHandle(file));
        this.file = file;
    }

    private static Handle newHandle(String file) {
        Engine.ensureLoaded();
        byte[] encoded = Text.encode(file, "file");
        return create(out -> NativeApi.hcreateProgram(encoded, out), NativeApi::hfreeProgram, null, "Program " + file);
    }

    /**
     * The program file.
     *
     * @return the file as given
     */
    public String getFile() { return file; }

    /**
     * The program file.
     *
     * @return the same as {@link #getFile()}
     * @deprecated use {@link #getFile()}
     */
    @Deprecated
    public String file() { return file; }

    /**
     * A new call of main; it keeps this program's handle alive until the call is released.
     *
     * @return the call, which the caller closes
     * @throws QuorvexException the library could not create the call
     * @throws IllegalStateException the program is closed
     */
    public ProgramCall createCall() {
        return new ProgramCall(this);
    }

    /**
     * Runs main once.
     *
     * @throws QuorvexException a line fails
     * @throws IllegalStateException the program is closed
     */
    public void execute() {
        try (ProgramCall call = createCall()) {
            call.execute();
        }
    }
}
