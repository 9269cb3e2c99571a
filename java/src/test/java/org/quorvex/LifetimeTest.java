package org.quorvex;

import static org.junit.jupiter.api.Assertions.*;

import java.util.List;
import java.util.function.Consumer;
import org.junit.jupiter.api.BeforeAll;
import org.junit.jupiter.api.Test;

class LifetimeTest {
    @BeforeAll
    static void engine() { Setup.engine(); }

    @Test
    void aCallKeepsItsClosedProcedureAlive() {
        long before = Setup.live("procedures");
        Procedure add = new Procedure("add");
        ProcedureCall call = add.createCall();
        add.close();
        assertThrows(IllegalStateException.class, add::createCall);
        assertEquals(before + 1, Setup.live("procedures"));
        call.setInput("A", 4);
        call.setInput("B", 5);
        call.execute();
        assertEquals(List.of(9L), call.getOutputValues("Sum"));
        call.close();
        assertEquals(before, Setup.live("procedures"));
    }

    @Test
    void forgottenObjectsAreReleasedByTheCleaner() throws InterruptedException {
        Setup.collect();
        long procedures = Setup.live("procedures");
        long calls = Setup.live("procedure_calls");
        long programs = Setup.live("programs");
        forget();
        for (int i = 0; i < 50 && Setup.live("procedure_calls") != calls; ++i) Setup.collect();
        assertEquals(procedures, Setup.live("procedures"));
        assertEquals(calls, Setup.live("procedure_calls"));
        assertEquals(programs, Setup.live("programs"));
    }

    private static void forget() {
        for (int i = 0; i < 10; ++i) {
            new Procedure("add").createCall().setInput(1, ControlTuple.of(i));
            new Program(Setup.data("tests/data/programs/set_marker.hdev")).createCall();
        }
    }

    // The message arrives while hprocedurecallExecute runs; the listener closes the call and
    // its procedure. Their handles are released only when the call has returned.
    @Test
    void closingDuringTheCallDefersTheRelease() {
        long procedures = Setup.live("procedures");
        long calls = Setup.live("procedure_calls");
        Procedure procedure = new Procedure(Setup.REPORT);
        ProcedureCall call = procedure.createCall();
        long[] during = {-1};
        Consumer<String> closing = line -> {
            call.close();
            procedure.close();
            during[0] = Setup.live("procedure_calls");
        };
        Engine.setVerbosity(true);
        call.setInput("Text", "close now");
        try {
            Setup.withStandardError(call::execute, closing);
        } finally {
            Engine.setVerbosity(false);
        }
        assertEquals(calls + 1, during[0], "the call was still alive inside its own execution");
        assertTrue(call.isClosed());
        assertEquals(calls, Setup.live("procedure_calls"));
        assertEquals(procedures, Setup.live("procedures"));
    }
}
