package org.quorvex;

/** What kind of failure a record describes, with the library's codes. */
public enum ErrorKind {
    /** A text of the library's own (a bad argument, say). */
    MESSAGE,
    /** An image-processing operator failed. */
    OPERATOR,
    /** The HDevelop engine failed, with procedure and line. */
    ENGINE;

    static ErrorKind of(int code) {
        return code >= 0 && code < values().length ? values()[code] : MESSAGE;
    }
}
