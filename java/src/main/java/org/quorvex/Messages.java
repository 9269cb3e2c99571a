package org.quorvex;

import com.sun.jna.Pointer;
import java.util.List;
import java.util.concurrent.CopyOnWriteArrayList;
import java.util.function.Consumer;

/**
 * The library's two message channels as listeners. Each channel has one native callback,
 * created once and held for the life of the process (JNA holds callbacks only weakly), set
 * while the channel has a listener. A listener's exception never unwinds into the library:
 * it goes to the failure listener, or to standard error.
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

    static void refuseInsideListener(String what) {
        if (insideListener())
            throw new IllegalStateException(what + " cannot be called from a message listener: the library may deliver "
                + "the message while it holds its window lock, and the call would wait for that lock forever");
    }

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

    // Entered from native code: nothing may escape.
    private static void deliver(List<Consumer<String>> listeners, Pointer text) {
        try {
            int[] depth = DEPTH.get();
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
