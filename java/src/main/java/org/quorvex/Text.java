package org.quorvex;

import com.sun.jna.Pointer;
import java.nio.charset.Charset;
import java.nio.charset.StandardCharsets;
import java.util.Arrays;
import java.util.Objects;

/** Texts as bytes at the boundary: encoded here with an explicit charset, NUL-terminated. */
final class Text {
    private static volatile Charset charset = StandardCharsets.UTF_8;

    private Text() {}

    static Charset charset() { return charset; }

    static void charset(Charset value) { charset = Objects.requireNonNull(value, "charset"); }

    static byte[] encode(String value, String what) {
        Objects.requireNonNull(value, what);
        if (value.indexOf('\0') >= 0)
            throw new IllegalArgumentException(what + " holds a NUL character, which would cut the text short");
        return terminate(value.getBytes(charset), what);
    }

    static byte[] terminate(byte[] value, String what) {
        Objects.requireNonNull(value, what);
        for (byte b : value)
            if (b == 0) throw new IllegalArgumentException(what + " holds a NUL byte, which would cut the text short");
        return Arrays.copyOf(value, value.length + 1);
    }

    static byte[] bytes(Pointer text) {
        if (text == null) return null;
        long length = text.indexOf(0, (byte) 0);
        return text.getByteArray(0, (int) length);
    }

    static String copy(Pointer text) {
        byte[] bytes = bytes(text);
        return bytes == null ? null : new String(bytes, charset);
    }
}
