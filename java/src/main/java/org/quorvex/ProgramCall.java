package org.quorvex;

import com.sun.jna.Pointer;

/** A call of a program's main procedure. */
public final class ProgramCall extends NativeObject {
    private final Program program;

    ProgramCall(Program program) {
        super(newHandle(program));
        this.program = program;
    }

    private static Handle newHandle(Program program) {
        Pointer parent = program.handle.acquire();
        try {
            return create(out -> NativeApi.hcreateProgramCall(parent, out), NativeApi::hfreeProgramCall,
                          program.handle, "ProgramCall of " + program.getFile());
        } catch (RuntimeException e) {
            program.handle.release();
            throw e;
        }
    }

    /**
     * The program this call runs.
     *
     * @return the program
     */
    public Program getProgram() { return program; }

    /**
     * The program this call runs.
     *
     * @return the same as {@link #getProgram()}
     * @deprecated use {@link #getProgram()}
     */
    @Deprecated
    public Program program() { return program; }

    /**
     * Runs main; a message listener may run it too (see {@link Messages}).
     *
     * @throws QuorvexException a line fails
     * @throws IllegalStateException the call is closed
     */
    public void execute() {
        Pointer p = handle.acquire();
        try {
            QuorvexException.check(NativeApi.hprogramcallExecute(p));
        } finally {
            handle.release();
        }
    }
}
