package org.quorvex;

import static org.junit.jupiter.api.Assertions.*;

import com.sun.jna.Pointer;
import java.util.ArrayList;
import java.util.List;
import java.util.Map;
import java.util.function.Consumer;
import java.util.function.Supplier;
import java.util.stream.Stream;
import org.junit.jupiter.api.AfterEach;
import org.junit.jupiter.api.BeforeEach;
import org.junit.jupiter.api.Named;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.Arguments;
import org.junit.jupiter.params.provider.MethodSource;

/** A listener may call into the library while its message is being delivered: its own call
 *  works as anywhere else, and the call that sent the message completes. */
class ListenerCallTest {
    private final List<Throwable> failures = new ArrayList<>();

    // Two roads to a standard-error listener: a procedure run that reports a low-level error,
    // and a window opening whose fullscreen change fails under the library's window lock (the
    // message waits until the lock is released).
    private static final List<Named<Runnable>> SENDERS = List.of(
        Named.of("a procedure run", () -> run(Setup.REPORT, Map.of("Text", "from a run"))),
        Named.of("a window opening", ListenerCallTest::openWindowThatFailsFullscreen));

    // What the listener does with the library the first time it runs, and what it gets.
    // "width" is 512 after Engine.init (include/quorvex.h, hinit).
    private static final List<Arguments> CALLS = List.of(
        Arguments.of(Named.<Supplier<Object>>of("runs add with 2 and 3",
            () -> run("add", Map.of("A", 2, "B", 3)).get("Sum").get(0)), 5L),
        Arguments.of(Named.<Supplier<Object>>of("reads the system value width", () -> Engine.getSystem("width")), 512L),
        Arguments.of(Named.<Supplier<Object>>of("opens the default window", () -> {
            Engine.openDefaultWindow();
            return "opened";
        }), "opened"));

    static Stream<Arguments> cases() {
        return SENDERS.stream().flatMap(sender -> CALLS.stream().map(call -> {
            Object[] row = call.get();
            return Arguments.of(sender, row[0], row[1]);
        }));
    }

    @BeforeEach
    void watch() {
        Setup.engine();
        Engine.setVerbosity(true);
        Messages.setFailureListener(failures::add);
    }

    @AfterEach
    void restore() {
        Messages.setFailureListener(null);
        Engine.setFullscreen(false);
        run("set_system_value", Map.of("Name", "standin_null_os_handle", "Value", "false"));
        Engine.setVerbosity(false);
    }

    @ParameterizedTest(name = "from {0}, a listener that {1}")
    @MethodSource("cases")
    void aListenerCallsTheLibrary(Runnable send, Supplier<Object> call, Object expected) {
        List<Object> results = new ArrayList<>();
        boolean[] entered = {false};
        // Once only: the call may send messages of its own (a window opening does).
        Consumer<String> listener = line -> {
            if (entered[0]) return;
            entered[0] = true;
            results.add(call.get());
        };
        Setup.withStandardError(() -> {
            send.run();
            results.add("sent");
        }, listener);
        assertEquals(List.of(expected, "sent"), results);
        assertEquals(List.of(), failures);
        assertFalse(Messages.isInsideListener());
    }

    @Test
    void aFailingCallInAListenerIsReportedAndTheSenderCompletes() {
        boolean[] sent = {false};
        Setup.withStandardError(() -> {
            openWindowThatFailsFullscreen();
            sent[0] = true;
        }, line -> Engine.getSystem("no_such_parameter"));
        assertTrue(sent[0]);
        assertEquals(1, failures.size());
        assertEquals(ErrorKind.OPERATOR, assertInstanceOf(QuorvexException.class, failures.get(0)).getKind());
    }

    // On the vendor's engine any operator may report a low-level error, a create function's or
    // hgetsystem's included, before the caller has read the handle the call stored for it.
    @Test
    void aListenersCallsLeaveTheSendersResultAlone() {
        try (Procedure procedure = new Procedure(Setup.REPORT); ProcedureCall call = procedure.createCall()) {
            call.setInput("Text", "while a result waits");
            Pointer slot = NativeApi.outSlot();
            Pointer stored = new Pointer(0x5107);
            slot.setPointer(0, stored);
            Setup.withStandardError(call::execute, line -> Engine.getSystem("width"));
            assertEquals(stored, slot.getPointer(0));
        }
        assertEquals(List.of(), failures);
    }

    // A call object whose run sends the message, and the stand-ins' count of its kind.
    static Stream<Arguments> runningCalls() {
        return Stream.of(
            Arguments.of(Named.<Supplier<Runnable>>of("procedure call", () -> {
                try (Procedure procedure = new Procedure(Setup.REPORT)) {
                    ProcedureCall call = procedure.createCall();
                    call.setInput("Text", "from a procedure call");
                    return closing(call, call::execute);
                }
            }), "procedure_calls"),
            Arguments.of(Named.<Supplier<Runnable>>of("program call", () -> {
                try (Program program = new Program(Setup.data("tests/data/programs/report_low_level.hdev"))) {
                    ProgramCall call = program.createCall();
                    return closing(call, call::execute);
                }
            }), "program_calls"));
    }

    // The run of a call, with a listener that closes the call while it runs.
    private static Runnable closing(NativeObject call, Runnable execute) {
        return () -> Setup.withStandardError(execute, line -> call.close());
    }

    @ParameterizedTest(name = "a listener that closes the running {0}")
    @MethodSource("runningCalls")
    void aListenerThatClosesTheRunningCallLeavesItUntilTheRunReturns(Supplier<Runnable> make, String kind) {
        String live = "standin_live_" + kind;
        Object before = Engine.getSystem(live);
        make.get().run();
        assertEquals(List.of(), failures);
        assertEquals(before, Engine.getSystem(live), "released after the run");
    }

    private static Map<String, List<Object>> run(String name, Map<String, ?> inputs) {
        try (Procedure procedure = new Procedure(name)) {
            return procedure.execute(inputs);
        }
    }

    private static void openWindowThatFailsFullscreen() {
        run("set_system_value", Map.of("Name", "standin_null_os_handle", "Value", "true"));
        Engine.setFullscreen(true);
        Engine.openDefaultWindow();
    }
}
