package org.quorvex;

import com.sun.jna.Pointer;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;

/**
 * A control tuple owned by this object. Elements are integers (read back as {@link Long}),
 * reals ({@link Double}) and strings. A tuple is used by one thread at a time, but any thread
 * may close it: a close while another thread is inside a call on the tuple takes effect once
 * that call returns.
 */
public final class ControlTuple extends NativeObject {
    /** The code of {@link ElementType#INTEGER}.
     *  @deprecated use {@link ElementType#INTEGER} and {@link #getType(int)} */
    @Deprecated public static final int INTEGER = 1;
    /** The code of {@link ElementType#REAL}.
     *  @deprecated use {@link ElementType#REAL} and {@link #getType(int)} */
    @Deprecated public static final int REAL = 2;
    /** The code of {@link ElementType#STRING}.
     *  @deprecated use {@link ElementType#STRING} and {@link #getType(int)} */
    @Deprecated public static final int STRING = 4;
    private static final double EXACT_LIMIT = 9007199254740992.0; // 2^53

    ControlTuple(Handle handle) {
        super(handle);
    }

    /** A new empty tuple. */
    public ControlTuple() {
        this(newHandle());
    }

    /**
     * A tuple of the values, each appended as {@link #append(Object)} does.
     *
     * @param values the values
     * @return the new tuple, which the caller closes
     * @throws IllegalArgumentException a value cannot become an element
     * @throws ArithmeticException an integer beyond 32 bits
     * @throws QuorvexException the library could not create the tuple
     */
    public static ControlTuple of(Object... values) {
        ControlTuple tuple = new ControlTuple();
        try {
            for (Object value : values) tuple.append(value);
            return tuple;
        } catch (RuntimeException e) {
            tuple.close();
            throw e;
        }
    }

    static Handle newHandle() {
        Engine.ensureLoaded();
        return create(NativeApi::hcreateTuple, NativeApi::hfreeTuple, null, "ControlTuple");
    }

    static ControlTuple wrap(Pointer tuple) {
        return new ControlTuple(new Handle(tuple, NativeApi::hfreeTuple, null, "ControlTuple"));
    }

    /**
     * The number of elements.
     *
     * @return the length
     * @throws IllegalStateException the tuple is closed
     */
    public int length() {
        Pointer p = handle.acquire();
        try { return NativeApi.hgetTupleLength(p); } finally { handle.release(); }
    }

    /**
     * Appends an integer; the library passes integers as 32 bits.
     *
     * @param value the integer
     * @return this tuple
     * @throws ArithmeticException the value is beyond 32 bits
     * @throws IllegalStateException the tuple is closed
     */
    public ControlTuple append(long value) {
        if (value < Integer.MIN_VALUE || value > Integer.MAX_VALUE)
            throw new ArithmeticException("integer " + value + " is beyond the 32 bits the library passes; append it as a double for a real");
        Pointer p = handle.acquire();
        try { NativeApi.happendTupleLong(p, (int) value); } finally { handle.release(); }
        return this;
    }

    /**
     * Appends a real.
     *
     * @param value the real
     * @return this tuple
     * @throws IllegalStateException the tuple is closed
     */
    public ControlTuple append(double value) {
        Pointer p = handle.acquire();
        try { NativeApi.happendTupleDouble(p, value); } finally { handle.release(); }
        return this;
    }

    /**
     * Appends a string, encoded with {@link Engine#getCharset()}.
     *
     * @param value the string
     * @return this tuple
     * @throws IllegalArgumentException the string holds a NUL character
     * @throws IllegalStateException the tuple is closed
     */
    public ControlTuple append(String value) {
        return appendEncoded(Text.encode(value, "value"));
    }

    /**
     * Appends a string element of these bytes, not converted.
     *
     * @param value the bytes
     * @return this tuple
     * @throws IllegalArgumentException the bytes hold a NUL
     * @throws IllegalStateException the tuple is closed
     */
    public ControlTuple appendBytes(byte[] value) {
        return appendEncoded(Text.terminate(value, "value"));
    }

    private ControlTuple appendEncoded(byte[] text) {
        Pointer p = handle.acquire();
        try { NativeApi.happendTupleString(p, text); } finally { handle.release(); }
        return this;
    }

    /**
     * Appends an Integer, Long, Short, Byte, Boolean, Float, Double, String, byte[] (a string of
     * those bytes), or an array or Iterable of those (one element each).
     *
     * @param value the value
     * @return this tuple
     * @throws IllegalArgumentException the value cannot become an element, or a list is nested
     * @throws ArithmeticException an integer beyond 32 bits
     * @throws IllegalStateException the tuple is closed
     */
    public ControlTuple append(Object value) {
        if (value == null) throw new NullPointerException("value");
        if (value instanceof String) return append((String) value);
        if (value instanceof byte[]) return appendBytes((byte[]) value);
        if (value instanceof Double || value instanceof Float) return append(((Number) value).doubleValue());
        if (value instanceof Long || value instanceof Integer || value instanceof Short || value instanceof Byte)
            return append(((Number) value).longValue());
        if (value instanceof Boolean) return append((Boolean) value ? 1L : 0L);
        if (value instanceof int[]) { for (int v : (int[]) value) append((long) v); return this; }
        if (value instanceof long[]) { for (long v : (long[]) value) append(v); return this; }
        if (value instanceof double[]) { for (double v : (double[]) value) append(v); return this; }
        Iterable<?> items = value instanceof Object[] ? Arrays.asList((Object[]) value) : value instanceof Iterable ? (Iterable<?>) value : null;
        if (items == null) throw new IllegalArgumentException("a " + value.getClass().getName() + " cannot become a tuple element");
        for (Object item : items) {
            if (item instanceof Iterable || item instanceof Object[] || item instanceof int[] || item instanceof double[] || item instanceof long[])
                throw new IllegalArgumentException("a tuple is flat: nested lists cannot be appended");
            append(item);
        }
        return this;
    }

    /**
     * The type of an element.
     *
     * @param index the element, from 0
     * @return its type
     * @throws IndexOutOfBoundsException the index is out of range
     * @throws IllegalStateException the tuple is closed
     */
    public ElementType getType(int index) {
        return ElementType.ofCode(typeCode(index));
    }

    /**
     * The code of an element's type.
     *
     * @param index the element, from 0
     * @return 1, 2 or 4
     * @deprecated use {@link #getType(int)}
     */
    @Deprecated
    public int typeAt(int index) {
        return typeCode(index);
    }

    private int typeCode(int index) {
        Pointer p = handle.acquire();
        try {
            int type = NativeApi.hgetTupleElemType(p, index);
            if (type != 0) return type;
            // The library gives 0 for an index out of range: only then is the length read.
            int length = NativeApi.hgetTupleLength(p);
            if (index < 0 || index >= length)
                throw new IndexOutOfBoundsException("index " + index + ": the tuple has " + length + " elements");
            return type;
        } finally {
            handle.release();
        }
    }

    /**
     * An integer element, exact up to 2^53 in magnitude.
     *
     * @param index the element, from 0
     * @return its value
     * @throws ArithmeticException the integer is beyond 2^53 (the engine's are 64 bits wide on
     *     64-bit targets; the library passes the low 32 bits and the value as a double)
     * @throws ClassCastException the element is not an integer
     * @throws IndexOutOfBoundsException the index is out of range
     * @throws IllegalStateException the tuple is closed
     */
    public long getInteger(int index) {
        // The type and the value under one hold; a failed read is explained by expect.
        Pointer p = handle.acquire();
        try {
            long tuple = HotPath.address(p);
            if (HotPath.type(tuple, index) == ElementType.INTEGER.getCode()) return integer(tuple, index);
        } finally {
            handle.release();
        }
        expect(index, ElementType.INTEGER, "an integer");
        throw new ClassCastException("element " + index + " is not an integer");
    }

    /** An integer element of a tuple the caller holds: the double is the value itself below
     *  2^53 in magnitude; at 2^53 it may be 2^53 + 1 rounded, which only the low bits tell. */
    private static long integer(long tuple, int index) {
        double real = HotPath.real(tuple, index);
        if (!(real > -EXACT_LIMIT && real < EXACT_LIMIT)
                && (!(real >= -EXACT_LIMIT && real <= EXACT_LIMIT) || (int) (long) real != HotPath.low(tuple, index)))
            throw new ArithmeticException("element " + index + " is an integer beyond +-2^53");
        return (long) real;
    }

    /**
     * A real element, or an integer element converted.
     *
     * @param index the element, from 0
     * @return its value
     * @throws ClassCastException the element is a string
     * @throws IndexOutOfBoundsException the index is out of range
     * @throws IllegalStateException the tuple is closed
     */
    public double getReal(int index) {
        ElementType type = getType(index);
        if (type == ElementType.INTEGER) return getInteger(index);
        expect(index, ElementType.REAL, "a number");
        Pointer p = handle.acquire();
        try { return NativeApi.hgetTupleElemDouble(p, index); } finally { handle.release(); }
    }

    /**
     * A string element, decoded with {@link Engine#getCharset()}.
     *
     * @param index the element, from 0
     * @return its value
     * @throws ClassCastException the element is not a string
     * @throws IndexOutOfBoundsException the index is out of range
     * @throws IllegalStateException the tuple is closed
     */
    public String getString(int index) {
        return new String(getBytes(index), Text.charset());
    }

    /**
     * A string element's bytes, not converted.
     *
     * @param index the element, from 0
     * @return a copy of its bytes
     * @throws ClassCastException the element is not a string
     * @throws IndexOutOfBoundsException the index is out of range
     * @throws IllegalStateException the tuple is closed
     */
    public byte[] getBytes(int index) {
        expect(index, ElementType.STRING, "a string");
        Pointer p = handle.acquire();
        try {
            // The copy is the caller's and goes back to the library's own release function.
            Pointer text = NativeApi.hgetTupleElemString_TO_BE_FREED(p, index);
            try {
                byte[] bytes = Text.bytes(text);
                return bytes == null ? new byte[0] : bytes;
            } finally {
                NativeApi.hfreeTupleElemString(text);
            }
        } finally {
            handle.release();
        }
    }

    /**
     * An element as Long, Double or String.
     *
     * @param index the element, from 0
     * @return its value
     * @throws ArithmeticException an integer beyond 2^53
     * @throws IndexOutOfBoundsException the index is out of range
     * @throws IllegalStateException the tuple is closed
     */
    public Object get(int index) {
        switch (getType(index)) {
            case INTEGER: return getInteger(index);
            case REAL: return getReal(index);
            default: return getString(index);
        }
    }

    /**
     * Every element, as {@link #get(int)} reads it.
     *
     * @return a new list
     * @throws ArithmeticException an integer beyond 2^53
     * @throws IllegalStateException the tuple is closed
     */
    public List<Object> toList() {
        Pointer p = handle.acquire();
        try {
            return read(HotPath.address(p));
        } finally {
            handle.release();
        }
    }

    /** Every element of a tuple the caller holds, as {@link #get(int)} reads each. */
    static List<Object> read(long tuple) {
        int length = HotPath.length(tuple);
        List<Object> values = new ArrayList<>(length);
        for (int i = 0; i < length; ++i) {
            int type = HotPath.type(tuple, i);
            if (type == 2) {
                values.add(HotPath.real(tuple, i));
            } else if (type == 1) {
                values.add(integer(tuple, i));
            } else if (type == 4) {
                Pointer text = NativeApi.hgetTupleElemString_TO_BE_FREED(new Pointer(tuple), i);
                try {
                    byte[] bytes = Text.bytes(text);
                    values.add(new String(bytes == null ? new byte[0] : bytes, Text.charset()));
                } finally {
                    NativeApi.hfreeTupleElemString(text);
                }
            } else {
                throw new ClassCastException("element " + i + " is of the unknown type " + type);
            }
        }
        return values;
    }

    /**
     * The elements as the command-line runner prints a list.
     *
     * @return the text
     */
    @Override
    public String toString() {
        return Format.list(toList());
    }

    private void expect(int index, ElementType type, String wanted) {
        ElementType actual = getType(index);
        if (actual != type) throw new ClassCastException("element " + index + " is of type " + actual + ", not " + wanted);
    }
}
