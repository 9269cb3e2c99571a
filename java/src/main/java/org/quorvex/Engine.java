package org.quorvex;

import com.sun.jna.Pointer;
import java.nio.charset.Charset;
import java.util.List;

/** The engine's process-wide settings. Each may be called from any thread. */
public final class Engine {
    private Engine() {}

    /**
     * The library file, from the system property quorvex.library, else QUORVEX_LIBRARY, else
     * JNA's search for "quorvex32-11.0" (jna.library.path, the class path's
     * win32-x86/, win32-x86-64/, linux-x86-64/ ... resources, the system's paths).
     *
     * The library is loaded here at the latest, as by any first use of the package.
     *
     * @return the file, or the name JNA searched for
     * @throws UnsatisfiedLinkError the library cannot be loaded: thrown again, with the same
     *     message, by each use until a load succeeds
     */
    public static String getLibraryPath() {
        return NativeApi.load();
    }

    /**
     * The library file.
     *
     * @return the same as {@link #getLibraryPath()}
     * @deprecated use {@link #getLibraryPath()}
     */
    @Deprecated
    public static String libraryPath() {
        return getLibraryPath();
    }

    static void ensureLoaded() {
        NativeApi.load();
    }

    /**
     * How texts are converted to and from the library's 8-bit strings (UTF-8 unless set).
     *
     * @return the charset
     */
    public static Charset getCharset() { return Text.charset(); }

    /**
     * Sets how texts are converted to and from the library's 8-bit strings.
     *
     * @param charset the charset
     */
    public static void setCharset(Charset charset) { Text.charset(charset); }

    /**
     * The charset of texts.
     *
     * @return the same as {@link #getCharset()}
     * @deprecated use {@link #getCharset()}
     */
    @Deprecated
    public static Charset charset() { return getCharset(); }

    /**
     * Sets the charset of texts.
     *
     * @param charset the charset
     * @deprecated use {@link #setCharset(Charset)}
     */
    @Deprecated
    public static void charset(Charset charset) { setCharset(charset); }

    /**
     * Call once before any program or procedure runs.
     *
     * @param logo switches the logo overlay on for good
     * @throws QuorvexException the library failed
     */
    public static void init(boolean logo) {
        ensureLoaded();
        QuorvexException.check(NativeApi.hinit(logo ? 1 : 0));
    }

    /**
     * Appends a folder (or several joined with ";") to the paths searched for external procedures.
     *
     * @param path the folder
     * @throws IllegalArgumentException the path holds a NUL character
     * @throws QuorvexException the engine refused the path
     */
    public static void addProcedurePath(String path) {
        ensureLoaded();
        QuorvexException.check(NativeApi.haddProcedurePath(Text.encode(path, "path")));
    }

    /**
     * Sets an engine attribute to a text.
     *
     * @param name the attribute
     * @param value its value
     * @throws IllegalArgumentException a text holds a NUL character
     * @throws QuorvexException the engine refused the attribute or its value
     */
    public static void setEngineAttribute(String name, String value) {
        ensureLoaded();
        QuorvexException.check(NativeApi.hsetEngineAttribute(Text.encode(name, "name"), Text.encode(value, "value")));
    }

    /**
     * Sets an engine attribute to an integer.
     *
     * @param name the attribute
     * @param value its value
     * @throws IllegalArgumentException the name holds a NUL character
     * @throws QuorvexException the engine refused the attribute or its value
     */
    public static void setEngineAttribute(String name, int value) {
        ensureLoaded();
        QuorvexException.check(NativeApi.hsetEngineAttributeInt(Text.encode(name, "name"), value));
    }

    /**
     * Unloads every external procedure; the next use loads it again from its file.
     *
     * @throws QuorvexException the engine failed
     */
    public static void unloadAllProcedures() {
        ensureLoaded();
        QuorvexException.check(NativeApi.hunloadAllProcedures());
    }

    /**
     * A system parameter of the image-processing library.
     *
     * @param query the parameter's name
     * @return the element itself for one value, else a list
     * @throws IllegalArgumentException the name holds a NUL character
     * @throws QuorvexException an unknown parameter
     */
    public static Object getSystem(String query) {
        ensureLoaded();
        Pointer out = NativeApi.outSlot();
        QuorvexException.check(NativeApi.hgetsystem(Text.encode(query, "query"), out));
        try (ControlTuple tuple = ControlTuple.wrap(out.getPointer(0))) {
            List<Object> values = tuple.toList();
            return values.size() == 1 ? values.get(0) : values;
        }
    }

    /**
     * Whether windows opened from now on cover their monitor without a frame; windows already
     * open are not touched.
     *
     * @param enable true for frameless full-screen windows
     */
    public static void setFullscreen(boolean enable) {
        ensureLoaded();
        NativeApi.hsetFullscreen(enable ? 1 : 0);
    }

    /**
     * Opens a 640 x 480 window, the active one for programs; a message listener may open one too.
     *
     * @throws QuorvexException the window cannot be opened
     */
    public static void openDefaultWindow() {
        ensureLoaded();
        QuorvexException.check(NativeApi.hopenDefaultWindow());
    }

    /**
     * Switches the library's informational messages on or off (see {@link Messages}).
     *
     * @param verbose true for on
     * @throws QuorvexException the library failed
     */
    public static void setVerbosity(boolean verbose) {
        ensureLoaded();
        QuorvexException.check(NativeApi.hsetVerbosity(verbose ? 1 : 0));
    }

    /**
     * Closes the library's windows before the process ends.
     *
     * @return what the library returns: 0 on success
     */
    public static int prepareShutdown() {
        ensureLoaded();
        return NativeApi.hprepareShutdown();
    }

    /**
     * The debug server is not available with this engine: always throws.
     *
     * @throws QuorvexException always
     */
    public static void startDebugServer() {
        ensureLoaded();
        QuorvexException.check(NativeApi.hstartDebugServer());
    }

    /**
     * The debug server is not available with this engine: always throws.
     *
     * @throws QuorvexException always
     */
    public static void stopDebugServer() {
        ensureLoaded();
        QuorvexException.check(NativeApi.hstopDebugServer());
    }
}
