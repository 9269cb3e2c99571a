package org.quorvex;

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

    /**
     * A listener's place on its channel: closing it removes that listener, however it was
     * written (a lambda or a method reference gives a new object each time it is evaluated,
     * so passing it again to a remove method finds nothing).
     */
    public static final class Subscription implements AutoCloseable {
        private final List<Consumer<String>> listeners;
        private final Consumer<String> listener;
        private boolean closed;

        private Subscription(List<Consumer<String>> listeners, Consumer<String> listener) {
            this.listeners = listeners;
            this.listener = listener;
        }

        /** Removes the listener from its channel; repeating does nothing. */
        @Override
        public void close() {
            synchronized (GATE) {
                if (closed) return;
                closed = true;
            }
            change(listeners, listener, false);
        }
    }

    /**
     * Adds a listener to the standard-output channel.
     *
     * @param listener receives each message, without its line end
     * @return its subscription, which removes it when closed
     * @throws NullPointerException the listener is null
     */
    public static Subscription addStandardOutputListener(Consumer<String> listener) {
        return change(OUT, listener, true);
    }

    /**
     * Removes one addition of this very listener object from the standard-output channel.
     *
     * @param listener the object added
     * @throws NullPointerException the listener is null
     */
    public static void removeStandardOutputListener(Consumer<String> listener) { change(OUT, listener, false); }

    /**
     * Adds a listener to the standard-error channel.
     *
     * @param listener receives each message, without its line end
     * @return its subscription, which removes it when closed
     * @throws NullPointerException the listener is null
     */
    public static Subscription addStandardErrorListener(Consumer<String> listener) {
        return change(ERR, listener, true);
    }

    /**
     * Removes one addition of this very listener object from the standard-error channel.
     *
     * @param listener the object added
     * @throws NullPointerException the listener is null
     */
    public static void removeStandardErrorListener(Consumer<String> listener) { change(ERR, listener, false); }

    /**
     * Sets what receives a listener's exception.
     *
     * @param listener receives what a listener threw (null: printed to standard error)
     */
    public static void setFailureListener(Consumer<Throwable> listener) { failures = listener; }

    /**
     * Whether the current thread is inside a message listener.
     *
     * @return true inside a listener
     */
    public static boolean isInsideListener() { return DEPTH.get()[0] > 0; }

    /**
     * Whether the current thread is inside a message listener.
     *
     * @return the same as {@link #isInsideListener()}
     * @deprecated use {@link #isInsideListener()}
     */
    @Deprecated
    public static boolean insideListener() { return isInsideListener(); }

    private static Subscription change(List<Consumer<String>> listeners, Consumer<String> listener, boolean add) {
        if (listener == null) throw new NullPointerException("listener");
        if (add) Engine.ensureLoaded();
        Subscription subscription = add ? new Subscription(listeners, listener) : null;
        synchronized (GATE) {
            boolean had = !listeners.isEmpty();
            if (add) listeners.add(listener);
            else listeners.remove(listener);
            boolean has = !listeners.isEmpty();
            if (had == has) return subscription;
            boolean out = listeners == OUT;
            NativeApi.MessageCallback callback = has ? (out ? OUT_CALLBACK : ERR_CALLBACK) : null;
            QuorvexException.check(out ? NativeApi.hsetStdOutHandler(callback) : NativeApi.hsetStdErrHandler(callback));
        }
        return subscription;
    }

    // Entered from native code: nothing may escape. The listeners' own calls get an out slot
    // of their own: the sending call may be one whose result still waits in this thread's slot.
    private static void deliver(List<Consumer<String>> listeners, Pointer text) {
        try {
            int[] depth = DEPTH.get();
            NativeApi.Slot sendersSlot = NativeApi.shelveOutSlot();
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
