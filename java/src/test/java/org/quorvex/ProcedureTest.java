package org.quorvex;

import static org.junit.jupiter.api.Assertions.*;

import java.util.List;
import java.util.Map;
import org.junit.jupiter.api.BeforeAll;
import org.junit.jupiter.api.Test;

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
}
