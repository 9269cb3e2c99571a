package org.quorvex;

import static org.junit.jupiter.api.Assertions.*;

import java.util.List;
import java.util.Map;
import com.sun.jna.Native;
import org.junit.jupiter.api.Assumptions;
import org.junit.jupiter.api.BeforeAll;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.CsvSource;

/** Procedures and programs run, and the records of their failures: the record's fields land
 *  where the library put them, as a wrong layout (eight 32-bit fields on a 64-bit target, say)
 *  would give wrong numbers or unreadable texts. */
class ProcedureTest {
    @BeforeAll
    static void engine() { Setup.engine(); }

    @Test
    void aProcedureRunsWithInputsByName() {
        try (Procedure add = new Procedure("add")) {
            assertEquals(List.of("A", "B"), add.getInputControlNames());
            assertEquals(List.of("Sum"), add.getOutputControlNames());
            assertEquals(List.of(5.5), add.execute(Map.of("A", 2, "B", 3.5)).get("Sum"));
        }
    }

    // The library drops a refused append silently; the input must not go through empty. The
    // second tuple construction from the arming on is the first input's value, and nothing
    // may be left alive.
    @Test
    void aRefusedInputValueIsReportedAndLeavesNothing() {
        Map<String, java.util.function.BiConsumer<Procedure, Object>> ways = Map.of(
            "execute(Map)", (add, value) -> add.execute(Map.of("A", value, "B", 1)),
            "call.setInput", (add, value) -> { try (ProcedureCall call = add.createCall()) { call.setInput("A", value); } });
        try (Procedure arm = new Procedure("arm_nth_fault"); Procedure add = new Procedure("add")) {
            for (Map.Entry<String, java.util.function.BiConsumer<Procedure, Object>> way : ways.entrySet()) {
                for (Object value : List.of(5, 7L, 2.5, "x")) {
                    long tuples = Setup.live("tuples");
                    arm.execute(Map.of("Operation", "HTuple", "Number", 9999, "N", 2));
                    IllegalStateException e = assertThrows(IllegalStateException.class,
                        () -> way.getValue().accept(add, value), way.getKey() + " " + value);
                    assertTrue(e.getMessage().contains("refused"), e.getMessage());
                    assertEquals(tuples, Setup.live("tuples"), way.getKey() + " " + value);
                }
            }
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

    // A * B + C on the engine's 64-bit integers, read through an interface that passes 32 bits
    // and a double: exact up to 2^53 in magnitude, refused beyond (an empty expectation), by
    // execute(Map)'s list and by getInteger alike.
    @ParameterizedTest
    @CsvSource({"65536, 32768, 0, 2147483648", "-65536, 32768, -1, -2147483649",
                "67108864, 134217728, 0, 9007199254740992", "-67108864, 134217728, 0, -9007199254740992",
                "67108864, 134217728, -1, 9007199254740991", "67108864, 134217728, 1,",
                "-67108864, 134217728, -1,", "2147483647, 2147483647, 0,"})
    void anIntegerIsExactUpTo2To53(int a, int b, int c, Long expected) {
        Assumptions.assumeTrue(Native.POINTER_SIZE == 8, "the engine's integers are 32 bits wide here");
        try (Procedure multiplyAdd = new Procedure("multiply_add"); ProcedureCall call = multiplyAdd.createCall()) {
            Map<String, Object> inputs = Map.of("A", a, "B", b, "C", c);
            inputs.forEach(call::setInput);
            call.execute();
            try (ControlTuple value = call.getOutput("Value")) {
                if (expected == null) {
                    assertThrows(ArithmeticException.class, () -> value.getInteger(0));
                    assertThrows(ArithmeticException.class, () -> multiplyAdd.execute(inputs));
                } else {
                    assertEquals(expected, value.getInteger(0));
                    assertEquals(List.of(expected), multiplyAdd.execute(inputs).get("Value"));
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
            assertEquals(ErrorKind.ENGINE, e.getKind());
            assertEquals("fail_at_line3", e.getProcedureName());
            assertEquals("get_system", e.getLineName());
            assertEquals(3, e.getLineNumber());
            assertEquals(1301, e.getErrorCode());
            assertEquals("Wrong value of control parameter 1", e.getErrorText());
            assertTrue(e.getMessage().contains("get_system"), e.getMessage());
        }
    }

    @Test
    void anOperatorFailure() {
        QuorvexException e = assertThrows(QuorvexException.class, () -> Engine.getSystem("no_such_parameter"));
        assertEquals(ErrorKind.OPERATOR, e.getKind());
        assertEquals("get_system", e.getProcedureName());
        assertNull(e.getLineName());
        assertEquals(-1, e.getLineNumber());
        assertEquals(1301, e.getErrorCode());
    }

    @Test
    void aMessageOfTheLibraryAndManyRecordsReleased() {
        for (int i = 0; i < 1000; ++i) {
            QuorvexException e = assertThrows(QuorvexException.class, Engine::startDebugServer);
            assertEquals(ErrorKind.MESSAGE, e.getKind());
            assertNull(e.getProcedureName());
            assertNull(e.getErrorText());
            assertEquals(-1, e.getErrorCode());
            assertEquals(-1, e.getLineNumber());
            assertFalse(e.getMessage().isEmpty());
        }
    }

    @Test
    void aMissingProcedureIsAnError() {
        assertThrows(QuorvexException.class, () -> new Procedure("no_such_procedure"));
        assertThrows(QuorvexException.class, () -> new Program(Setup.data("no/such/program.hdev")));
    }
}
