package org.quorvex;

import static org.junit.jupiter.api.Assertions.*;

import java.util.List;
import java.util.Map;
import org.junit.jupiter.api.BeforeAll;
import org.junit.jupiter.api.Test;

/** Procedures and programs run, and the records of their failures: the record's fields land
 *  where the library put them, as a wrong layout (eight 32-bit fields on a 64-bit target, say)
 *  would give wrong numbers or unreadable texts. */
class ProcedureTest {
    @BeforeAll
    static void engine() { Setup.engine(); }

    @Test
    void aProcedureRunsWithInputsByName() {
        try (Procedure add = new Procedure("add")) {
            assertEquals(List.of("A", "B"), add.inputControlNames());
            assertEquals(List.of("Sum"), add.outputControlNames());
            assertEquals(List.of(5.5), add.execute(Map.of("A", 2, "B", 3.5)).get("Sum"));
        }
    }

    @Test
    void aReusedCallGivesEachRunsResult() {
        try (Procedure add = new Procedure("add"); ProcedureCall call = add.createCall()) {
            for (int i = 0; i < 50; ++i) {
                call.setInput(1, i);
                try (ControlTuple b = ControlTuple.of(1000)) {
                    call.setInput("B", b);
                }
                call.execute();
                try (ControlTuple sum = call.getOutput("Sum")) {
                    assertEquals(1000L + i, sum.getInteger(0));
                }
            }
        }
    }

    @Test
    void unknownNamesAreNamedInTheError() {
        try (Procedure add = new Procedure("add"); ProcedureCall call = add.createCall()) {
            IllegalArgumentException e = assertThrows(IllegalArgumentException.class, () -> call.setInput("C", 1));
            assertTrue(e.getMessage().contains("A, B"), e.getMessage());
        }
    }

    @Test
    void aProgramRunsItsMain() {
        try (Program program = new Program(Setup.data("tests/data/programs/set_marker.hdev"))) {
            program.execute();
        }
        assertEquals(42L, Engine.getSystem("quorvex_test_marker"));
    }

    @Test
    void anEngineFailureCarriesEveryField() {
        try (Procedure procedure = new Procedure("fail_at_line3")) {
            QuorvexException e = assertThrows(QuorvexException.class, () -> procedure.execute(Map.of()));
            assertEquals(ErrorKind.ENGINE, e.kind());
            assertEquals("fail_at_line3", e.procedureName());
            assertEquals("get_system", e.lineName());
            assertEquals(3, e.lineNumber());
            assertEquals(1301, e.errorCode());
            assertEquals("Wrong value of control parameter 1", e.errorText());
            assertTrue(e.getMessage().contains("get_system"), e.getMessage());
        }
    }

    @Test
    void anOperatorFailure() {
        QuorvexException e = assertThrows(QuorvexException.class, () -> Engine.getSystem("no_such_parameter"));
        assertEquals(ErrorKind.OPERATOR, e.kind());
        assertEquals("get_system", e.procedureName());
        assertNull(e.lineName());
        assertEquals(-1, e.lineNumber());
        assertEquals(1301, e.errorCode());
    }

    @Test
    void aMessageOfTheLibraryAndManyRecordsReleased() {
        for (int i = 0; i < 1000; ++i) {
            QuorvexException e = assertThrows(QuorvexException.class, Engine::startDebugServer);
            assertEquals(ErrorKind.MESSAGE, e.kind());
            assertNull(e.procedureName());
            assertNull(e.errorText());
            assertEquals(-1, e.errorCode());
            assertEquals(-1, e.lineNumber());
            assertFalse(e.getMessage().isEmpty());
        }
    }

    @Test
    void aMissingProcedureIsAnError() {
        assertThrows(QuorvexException.class, () -> new Procedure("no_such_procedure"));
        assertThrows(QuorvexException.class, () -> new Program(Setup.data("no/such/program.hdev")));
    }
}
