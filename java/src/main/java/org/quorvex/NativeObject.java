package org.quorvex;

import com.sun.jna.Pointer;
import com.sun.jna.ptr.PointerByReference;
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
    static Handle create(Function<PointerByReference, Pointer> create, Consumer<Pointer> free, Handle parent, String what) {
        PointerByReference out = new PointerByReference();
        QuorvexException.check(create.apply(out));
        Pointer created = out.getValue();
        if (created == null) throw new IllegalStateException(what + ": the library stored no handle");
        return new Handle(created, free, parent, what);
    }

    /** Releases the handle now, or after the last call still using it. Repeating does nothing. */
    @Override
    public void close() {
        cleanable.clean();
    }

    public boolean isClosed() {
        return handle.isClosed();
    }
}
