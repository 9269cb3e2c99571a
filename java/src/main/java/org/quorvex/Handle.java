package org.quorvex;

import com.sun.jna.Pointer;
import java.lang.ref.Cleaner;
import java.util.function.Consumer;

/**
 * One library handle, counted: the owner's reference, one for each native call using it, and
 * one for each call object made from it. The handle is released with the library's own
 * function when the count reaches zero, so closing an object while another thread is inside
 * a call with it, or before the calls made from it, only defers the release. The owner's
 * reference is dropped by close() or, for a forgotten object, by the cleaner.
 */
final class Handle implements Runnable {
    static final Cleaner CLEANER = Cleaner.create();

    private final Pointer pointer;
    private final Consumer<Pointer> free;
    private final Handle parent;
    private final String what;
    private int uses = 1;
    private boolean ownerDone;

    Handle(Pointer pointer, Consumer<Pointer> free, Handle parent, String what) {
        this.pointer = pointer;
        this.free = free;
        this.parent = parent;
        this.what = what;
    }

    /** A reference for one use; the caller gives it back with {@link #release()}. */
    synchronized Pointer acquire() {
        if (ownerDone) throw new IllegalStateException(what + " is closed");
        ++uses;
        return pointer;
    }

    void release() {
        synchronized (this) {
            if (--uses > 0) return;
        }
        free.accept(pointer);
        if (parent != null) parent.release();
    }

    synchronized boolean isClosed() {
        return ownerDone;
    }

    /** Drops the owner's reference, once: close() and the cleaner both come here. */
    @Override
    public void run() {
        synchronized (this) {
            if (ownerDone) return;
            ownerDone = true;
        }
        release();
    }

    /** Registers the owner whose collection drops the owner's reference. */
    Cleaner.Cleanable watch(Object owner) {
        return CLEANER.register(owner, this);
    }
}
