package org.quorvex;

import com.sun.jna.Pointer;
import java.nio.charset.Charset;
import java.util.List;

/** The engine's process-wide settings. */
public final class Engine {
    private Engine() {}

    /** The library file, from the system property quorvex.library, else QUORVEX_LIBRARY, else
     *  JNA's search for "quorvex32-11.0" (jna.library.path, the class path's
     *  win32-x86/, win32-x86-64/, linux-x86-64/ ... resources, the system's paths). */
    public static String libraryPath() {
        return NativeApi.PATH;
    }

    static void ensureLoaded() {
        libraryPath();
    }

    /** How texts are converted to and from the library's 8-bit strings (UTF-8 unless set). */
    public static Charset charset() { return Text.charset(); }

    public static void charset(Charset charset) { Text.charset(charset); }

    /** Call once before any program or procedure runs; logo switches the overlay on for good. */
    public static void init(boolean logo) {
        QuorvexException.check(NativeApi.hinit(logo ? 1 : 0));
    }

    public static void addProcedurePath(String path) {
        QuorvexException.check(NativeApi.haddProcedurePath(Text.encode(path, "path")));
    }

    public static void setEngineAttribute(String name, String value) {
        QuorvexException.check(NativeApi.hsetEngineAttribute(Text.encode(name, "name"), Text.encode(value, "value")));
    }

    public static void setEngineAttribute(String name, int value) {
        QuorvexException.check(NativeApi.hsetEngineAttributeInt(Text.encode(name, "name"), value));
    }

    public static void unloadAllProcedures() {
        QuorvexException.check(NativeApi.hunloadAllProcedures());
    }

    /** A system parameter: the element itself for one value, else a list. */
    public static Object getSystem(String query) {
        Pointer out = NativeApi.outSlot();
        QuorvexException.check(NativeApi.hgetsystem(Text.encode(query, "query"), out));
        try (ControlTuple tuple = ControlTuple.wrap(out.getPointer(0))) {
            List<Object> values = tuple.toList();
            return values.size() == 1 ? values.get(0) : values;
        }
    }

    public static void setFullscreen(boolean enable) {
        NativeApi.hsetFullscreen(enable ? 1 : 0);
    }

    /** Opens a 640 x 480 window, the active one for programs; a message listener may open one too. */
    public static void openDefaultWindow() {
        QuorvexException.check(NativeApi.hopenDefaultWindow());
    }

    public static void setVerbosity(boolean verbose) {
        QuorvexException.check(NativeApi.hsetVerbosity(verbose ? 1 : 0));
    }

    public static int prepareShutdown() {
        return NativeApi.hprepareShutdown();
    }

    /** The debug server is not available with this engine: always throws. */
    public static void startDebugServer() {
        QuorvexException.check(NativeApi.hstartDebugServer());
    }

    public static void stopDebugServer() {
        QuorvexException.check(NativeApi.hstopDebugServer());
    }
}
