package org.quorvex;

import com.sun.jna.Callback;
import com.sun.jna.Library;
import com.sun.jna.Native;
import com.sun.jna.NativeLibrary;
import com.sun.jna.Platform;
import com.sun.jna.Pointer;
import com.sun.jna.ptr.IntByReference;
import java.io.IOException;
import java.io.InputStream;
import java.nio.ByteBuffer;
import java.nio.ByteOrder;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;
import java.util.Map;

/**
 * The library's exports through JNA direct mapping. Handles are {@link Pointer}s; texts go in
 * as NUL-terminated byte arrays encoded by {@link Text} and come out as pointers, so nothing
 * the library owns is freed by JNA, and nothing JNA gives is left unreleased. Callbacks use
 * JNA's default convention, cdecl, as the library's callback type does.
 */
final class NativeApi {
    static final String NAME = "quorvex32-11.0";

    interface MessageCallback extends Callback {
        void invoke(Pointer text);
    }

    /** The library file once loaded and its exports registered; null before. */
    private static volatile String loaded;

    /**
     * Loads the library and registers the exports, once. Not a static initialiser: a failure
     * there would leave the class unusable for good (NoClassDefFoundError on every later use),
     * whereas a failed load here is reported the same way each time and may be retried, for
     * instance after quorvex.library is set to the right file.
     */
    static String load() {
        String path = loaded;
        return path != null ? path : loadNow();
    }

    private static synchronized String loadNow() {
        if (loaded != null) return loaded;
        String path = System.getProperty("quorvex.library");
        if (path == null || path.isEmpty()) path = System.getenv("QUORVEX_LIBRARY");
        if (path == null || path.isEmpty()) path = withCompanionFromJar();
        if (path == null || path.isEmpty()) path = NAME;
        try {
            // Strings are never passed as java.lang.String, but the encoding is set all the same
            // so that nothing follows the platform's charset.
            NativeLibrary library = NativeLibrary.getInstance(path, Map.of(Library.OPTION_STRING_ENCODING, "UTF-8"));
            Native.register(NativeApi.class, library);
            HotPath.register(library);
        } catch (UnsatisfiedLinkError e) {
            UnsatisfiedLinkError clear = new UnsatisfiedLinkError(
                "cannot load the quorvex library " + path + " (set the system property quorvex.library or "
                + "QUORVEX_LIBRARY to its file): " + e.getMessage());
            clear.initCause(e);
            throw clear;
        }
        loaded = path;
        return path;
    }

    private NativeApi() {}

    /** The shared unwinder the i686 Windows DLL imports, packed beside it in the jar. */
    private static final String COMPANION = "libgcc_s_dw2-1.dll";

    /** The list of a platform's files in the jar, the library first. */
    private static final String FILES = "quorvex-files.txt";

    /**
     * JNA extracts a library from the jar under a made-up name, alone, where the loader would
     * not find the libraries it needs (the stand-ins on Linux, the unwinder of the i686 DLL).
     * Where the jar lists a platform's files, all of them are extracted under their own names
     * into one private folder (their run paths point beside themselves); on Windows the
     * companion is loaded first, so that the library's import resolves to it. Null where the
     * jar has no files for this platform.
     */
    private static String withCompanionFromJar() {
        ClassLoader loader = NativeApi.class.getClassLoader();
        String folder = Platform.RESOURCE_PREFIX + "/";
        if (loader == null) return null;
        try (InputStream list = loader.getResourceAsStream(folder + FILES)) {
            if (list == null) return null;
            List<String> names = new ArrayList<>();
            for (String line : new String(list.readAllBytes(), StandardCharsets.UTF_8).split("\n"))
                if (!line.trim().isEmpty()) names.add(line.trim());
            if (names.isEmpty()) return null;
            Path target = Files.createTempDirectory("quorvex");
            target.toFile().deleteOnExit();
            for (String name : names) {
                Path file = target.resolve(name).normalize();
                if (!file.startsWith(target)) throw new IOException("a file outside the folder: " + name);
                Files.createDirectories(file.getParent());
                file.getParent().toFile().deleteOnExit();
                try (InputStream in = loader.getResourceAsStream(folder + name)) {
                    if (in == null) throw new IOException("the jar lists " + name + " but lacks it");
                    Files.copy(in, file);
                }
                file.toFile().deleteOnExit();
            }
            if (Platform.isWindows() && names.contains(COMPANION))
                NativeLibrary.getInstance(target.resolve(COMPANION).toString());
            return target.resolve(names.get(0)).toString();
        } catch (IOException e) {
            throw new UnsatisfiedLinkError("cannot extract the quorvex library from the jar: " + e);
        }
    }

    /**
     * One pointer-sized slot per thread for the out-parameters of create functions: a
     * PointerByReference per call would allocate and register native memory every time. The
     * slot is a direct buffer, which Java reads and clears without a native call (JNA's
     * Memory.getPointer and setPointer are one JNI crossing each, four of them in a round
     * trip of Procedure.execute), passed to the library as a Pointer to its memory.
     */
    static final class Slot extends Pointer {
        private final ByteBuffer memory;

        private Slot(ByteBuffer memory) {
            super(Pointer.nativeValue(Native.getDirectBufferPointer(memory)));
            this.memory = memory;
        }

        static Slot allocate() {
            return new Slot(ByteBuffer.allocateDirect(Native.POINTER_SIZE).order(ByteOrder.nativeOrder()));
        }

        @Override
        public Pointer getPointer(long offset) {
            if (offset != 0) throw new IndexOutOfBoundsException("a slot holds one pointer");
            long value = value();
            return value == 0 ? null : new Pointer(value);
        }

        /** What the library stored, as an address. */
        long value() {
            return Native.POINTER_SIZE == 8 ? memory.getLong(0) : memory.getInt(0) & 0xFFFFFFFFL;
        }

        long address() {
            return Pointer.nativeValue(this);
        }

        void clear() {
            if (Native.POINTER_SIZE == 8) memory.putLong(0, 0);
            else memory.putInt(0, 0);
        }
    }

    private static final ThreadLocal<Slot> OUT = ThreadLocal.withInitial(Slot::allocate);

    static Pointer outSlot() {
        return slot();
    }

    static Slot slot() {
        Slot slot = OUT.get();
        slot.clear();
        return slot;
    }

    /** Gives this thread a fresh slot for the calls of a message listener and returns the one
     *  in use, which the call that sent the message may still have to read. */
    static Slot shelveOutSlot() {
        Slot sender = OUT.get();
        OUT.set(Slot.allocate());
        return sender;
    }

    static void restoreOutSlot(Slot sender) {
        OUT.set(sender);
    }

    static native void hclearErrorMsg(Pointer msg);
    static native Pointer hinit(int mode);
    static native int hprepareShutdown();
    static native Pointer hsetEngineAttribute(byte[] name, byte[] value);
    static native Pointer hsetEngineAttributeInt(byte[] name, int value);
    static native Pointer haddProcedurePath(byte[] path);
    static native Pointer hunloadAllProcedures();
    static native Pointer hgetsystem(byte[] query, Pointer tuple);
    static native Pointer hstartDebugServer();
    static native Pointer hstopDebugServer();

    static native Pointer hcreateTuple(Pointer tuple);
    static native void happendTupleDouble(Pointer tuple, double value);
    static native void happendTupleLong(Pointer tuple, int value);
    static native void happendTupleString(Pointer tuple, byte[] value);
    static native int hgetTupleLength(Pointer tuple);
    static native int hgetTupleElemType(Pointer tuple, int index);
    static native double hgetTupleElemDouble(Pointer tuple, int index);
    static native int hgetTupleElemLong(Pointer tuple, int index);
    static native Pointer hgetTupleElemString_TO_BE_FREED(Pointer tuple, int index);
    static native void hfreeTupleElemString(Pointer text);
    static native void hfreeTuple(Pointer tuple);

    static native Pointer hcreateProgram(byte[] file, Pointer program);
    static native Pointer hcreateProgramCall(Pointer program, Pointer call);
    static native Pointer hprogramcallExecute(Pointer call);
    static native void hfreeProgram(Pointer program);
    static native void hfreeProgramCall(Pointer call);

    static native Pointer hcreateProcedure(byte[] name, Pointer procedure);
    static native Pointer hcreateProcedureCall(Pointer procedure, Pointer call);
    static native Pointer hprocedurecallSetInputCtrlParamTuple(Pointer call, int index, Pointer tuple);
    static native Pointer hprocedurecallExecute(Pointer call);
    static native Pointer hprocedurecallGetOutputCtrlParamTuple(Pointer call, int index, Pointer tuple);
    static native Pointer hprocedureGetInputCtrlParamCount(Pointer procedure, IntByReference count);
    static native Pointer hprocedureGetOutputCtrlParamCount(Pointer procedure, IntByReference count);
    static native Pointer hprocedureGetInputIconicParamCount(Pointer procedure, IntByReference count);
    static native Pointer hprocedureGetOutputIconicParamCount(Pointer procedure, IntByReference count);
    // Parameter names belong to the procedure: read, never released.
    static native Pointer hprocedureGetInputCtrlParamName(Pointer procedure, int index, Pointer name);
    static native Pointer hprocedureGetOutputCtrlParamName(Pointer procedure, int index, Pointer name);
    static native void hfreeProcedure(Pointer procedure);
    static native void hfreeProcedureCall(Pointer call);

    static native int hsetFullscreen(int enable);
    static native Pointer hopenDefaultWindow();
    static native Pointer hsetStdOutHandler(MessageCallback handler);
    static native Pointer hsetStdErrHandler(MessageCallback handler);
    static native Pointer hsetVerbosity(int verbosity);
}
