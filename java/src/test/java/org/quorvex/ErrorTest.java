package org.quorvex;

import static org.junit.jupiter.api.Assertions.*;

import java.util.Map;
import org.junit.jupiter.api.BeforeAll;
import org.junit.jupiter.api.Test;

/** The record's fields land where the library put them: a wrong layout (eight 32-bit fields
 *  on a 64-bit target, say) gives wrong numbers or unreadable texts here. */
class ErrorTest {
    @BeforeAll
    static void engine() { Setup.engine(); }

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
