package org.quorvex;

import static org.junit.jupiter.api.Assertions.*;

import java.nio.charset.Charset;
import java.nio.charset.StandardCharsets;
import java.util.List;
import org.junit.jupiter.api.BeforeAll;
import org.junit.jupiter.api.Test;

class TupleTest {
    @BeforeAll
    static void engine() { Setup.engine(); }

    @Test
    void valuesComeBackAsTheyWent() {
        try (ControlTuple tuple = ControlTuple.of(7, -2147483648L, 2.5, "Größe ✓", true, new int[] {1, 2})) {
            assertEquals(List.of(7L, -2147483648L, 2.5, "Größe ✓", 1L, 1L, 2L), tuple.toList());
            assertEquals(ElementType.REAL, tuple.getType(2));
            assertEquals("[7, -2147483648, 2.5, 'Größe ✓', 1, 1, 2]", tuple.toString());
        }
        assertInstanceOf(Long.class, Engine.getSystem("width"), "system parameters are values too");
    }

    @Test
    void manyStringsAreCopiedAndReleasedByTheLibrary() {
        long before = Setup.live("tuples");
        try (ControlTuple tuple = new ControlTuple()) {
            for (int i = 0; i < 2000; ++i) tuple.append("text number " + i);
            for (int round = 0; round < 3; ++round)
                for (int i = 0; i < 2000; ++i) assertEquals("text number " + i, tuple.getString(i));
        }
        assertEquals(before, Setup.live("tuples"));
    }

    @Test
    void bytesPassUnconvertedAndTheCharsetIsExplicitAndConfigurable() {
        byte[] raw = {0x63, 0x61, 0x66, (byte) 0xe9, (byte) 0xff};
        try (ControlTuple tuple = new ControlTuple().appendBytes(raw)) {
            assertArrayEquals(raw, tuple.getBytes(0));
        }
        try (ControlTuple tuple = ControlTuple.of("é")) {
            assertArrayEquals(new byte[] {(byte) 0xc3, (byte) 0xa9}, tuple.getBytes(0));
        }
        Charset saved = Engine.getCharset();
        try {
            Engine.setCharset(StandardCharsets.ISO_8859_1);
            try (ControlTuple tuple = ControlTuple.of("é")) {
                assertArrayEquals(new byte[] {(byte) 0xe9}, tuple.getBytes(0));
                assertEquals("é", tuple.getString(0));
            }
        } finally {
            Engine.setCharset(saved);
        }
    }

    @Test
    void anEmbeddedNulIsRefusedNotCut() {
        try (ControlTuple tuple = new ControlTuple()) {
            assertThrows(IllegalArgumentException.class, () -> tuple.append("ab\0cd"));
            assertThrows(IllegalArgumentException.class, () -> tuple.appendBytes(new byte[] {1, 0, 2}));
            assertEquals(0, tuple.length());
        }
        assertThrows(IllegalArgumentException.class, () -> Engine.addProcedurePath("a\0b"));
    }

    @Test
    void integersBeyond32BitsAreRefusedAndWrongTypesNamed() {
        try (ControlTuple tuple = new ControlTuple()) {
            assertThrows(ArithmeticException.class, () -> tuple.append(1L << 32));
            assertThrows(IllegalArgumentException.class, () -> tuple.append((Object) new Object[] {List.of(1)}));
            tuple.append("x");
            assertThrows(ClassCastException.class, () -> tuple.getInteger(0));
            assertThrows(IndexOutOfBoundsException.class, () -> tuple.getString(1));
        }
    }

    @Test
    void aClosedTupleIsRefusedNotPassedOn() {
        ControlTuple tuple = ControlTuple.of(1);
        tuple.close();
        tuple.close();
        assertTrue(tuple.isClosed());
        assertThrows(IllegalStateException.class, tuple::length);
    }
}
