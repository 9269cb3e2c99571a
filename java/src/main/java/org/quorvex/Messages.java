package org.quorvex;

import com.sun.jna.Memory;
import com.sun.jna.Pointer;
import java.util.List;
import java.util.concurrent.CopyOnWriteArrayList;
import java.util.function.Consumer;

/**
 * The library's two message channels as listeners. Each channel has one native callback,
 * created once and held for the life of the process (JNA holds callbacks only weakly), set
 * while the channel has a listener. A listener runs on the thread that sent the message, never
 * while the library holds a lock of its own, so it may use the whole package: run a procedure
 * or a program, open the default window, read a system value. A listener's exception, one
 * thrown by such a call included, never unwinds into the library: it goes to the failure
 * listener, or to standard error, and the call that sent the message completes.
 */
public final class Messages {
    private static final Object GATE = new Object();
    private static final List<Consumer<String>> OUT = new CopyOnWriteArrayList<>();
    private static final List<Consumer<String>> ERR = new CopyOnWriteArrayList<>();
    private static final NativeApi.MessageCallback OUT_CALLBACK = text -> deliver(OUT, text);
    private static final NativeApi.MessageCallback ERR_CALLBACK = text -> deliver(ERR, text);
    private static final ThreadLocal<int[]> DEPTH = ThreadLocal.withInitial(() -> new int[1]);
    private static volatile Consumer<Throwable> failures;

    private Messages() {}

    public static void addStandardOutputListener(Consumer<String> listener) { change(OUT, listener, true); }
    public static void removeStandardOutputListener(Consumer<String> listener) { change(OUT, listener, false); }
    public static void addStandardErrorListener(Consumer<String> listener) { change(ERR, listener, true); }
    public static void removeStandardErrorListener(Consumer<String> listener) { change(ERR, listener, false); }

    /** Receives what a listener threw (null: printed to standard error). */
    public static void setFailureListener(Consumer<Throwable> listener) { failures = listener; }

    /** True on a thread that is inside a message listener. */
    public static boolean insideListener() { return DEPTH.get()[0] > 0; }

    private static void change(List<Consumer<String>> listeners, Consumer<String> listener, boolean add) {
        if (listener == null) throw new NullPointerException("listener");
        synchronized (GATE) {
            boolean had = !listeners.isEmpty();
            if (add) listeners.add(listener);
            else listeners.remove(listener);
            boolean has = !listeners.isEmpty();
            if (had == has) return;
            boolean out = listeners == OUT;
            NativeApi.MessageCallback callback = has ? (out ? OUT_CALLBACK : ERR_CALLBACK) : null;
            QuorvexException.check(out ? NativeApi.hsetStdOutHandler(callback) : NativeApi.hsetStdErrHandler(callback));
        }
    }

    // Entered from native code: nothing may escape. The listeners' own calls get an out slot
    // of their own: the sending call may be one whose result still waits in this thread's slot.
    private static void deliver(List<Consumer<String>> listeners, Pointer text) {
        try {
            int[] depth = DEPTH.get();
            Memory sendersSlot = NativeApi.shelveOutSlot();
            ++depth[0];
            try {
                String message = Text.copy(text);
                for (Consumer<String> listener : listeners) {
                    try {
                        listener.accept(message == null ? "" : message);
                    } catch (Throwable e) {
                        report(e);
                    }
                }
            } finally {
                --depth[0];
                NativeApi.restoreOutSlot(sendersSlot);
            }
        } catch (Throwable e) {
            report(e);
        }
    }

    private static void report(Throwable e) {
        try {
            Consumer<Throwable> listener = failures;
            if (listener != null) listener.accept(e);
            else System.err.println("quorvex: a message listener failed: " + e);
        } catch (Throwable ignored) {
            // A failing report has nowhere left to go.
        }
    }
}
