package org.quorvex;

import com.sun.jna.Pointer;
import java.lang.ref.Cleaner;
import java.util.function.Consumer;
import java.util.function.Function;

/** An object owning one library handle: closed explicitly or, if forgotten, by the cleaner. */
abstract class NativeObject implements AutoCloseable {
    final Handle handle;
    private final Cleaner.Cleanable cleanable;

    NativeObject(Handle handle) {
        this.handle = handle;
        this.cleanable = handle.watch(this);
    }

    /** Runs a create function and wraps what it stored; a record is thrown. */
    static Handle create(Function<Pointer, Pointer> create, Consumer<Pointer> free, Handle parent, String what) {
        Pointer out = NativeApi.outSlot();
        QuorvexException.check(create.apply(out));
        Pointer created = out.getPointer(0);
        if (created == null) throw new IllegalStateException(what + ": the library stored no handle");
        return new Handle(created, free, parent, what);
    }

    /** Releases the handle now, or after the last call still using it. Repeating does nothing. */
    @Override
    public void close() {
        cleanable.clean();
    }

    /**
     * Whether {@link #close()} was called.
     *
     * @return true once closed
     */
    public boolean isClosed() {
        return handle.isClosed();
    }
}
