package org.quorvex;

/** The type of a tuple element, with the library's codes. */
public enum ElementType {
    /** An integer, read back as {@link Long}. */
    INTEGER(1),
    /** A real, read back as {@link Double}. */
    REAL(2),
    /** A string, read back as {@link String} (or its bytes). */
    STRING(4);

    private final int code;

    ElementType(int code) {
        this.code = code;
    }

    /**
     * The library's code of the type.
     *
     * @return 1, 2 or 4
     */
    public int getCode() {
        return code;
    }

    /**
     * The type of a library code.
     *
     * @param code a code as {@code hgetTupleElemType} returns it
     * @return the type
     * @throws IllegalArgumentException the code is none of the three
     */
    public static ElementType ofCode(int code) {
        for (ElementType type : values())
            if (type.code == code) return type;
        throw new IllegalArgumentException("no element type has the code " + code);
    }
}
