package org.quorvex;

import com.sun.jna.Pointer;

/** A failure the library reported, with every field of its error record. */
public class QuorvexException extends RuntimeException {
    private static final long serialVersionUID = 1L;

    private final ErrorKind kind;
    private final String procedureName;
    private final String lineName;
    private final int errorCode;
    private final int lineNumber;
    private final String errorText;

    public QuorvexException(ErrorKind kind, String message, String procedureName, String lineName,
                            int errorCode, int lineNumber, String errorText) {
        super(message);
        this.kind = kind;
        this.procedureName = procedureName;
        this.lineName = lineName;
        this.errorCode = errorCode;
        this.lineNumber = lineNumber;
        this.errorText = errorText;
    }

    public ErrorKind kind() { return kind; }
    /** The operator (OPERATOR) or the executing procedure (ENGINE); else null. */
    public String procedureName() { return procedureName; }
    /** The operator or procedure called on the failing line (ENGINE); else null. */
    public String lineName() { return lineName; }
    /** The error number; -1 for MESSAGE. */
    public int errorCode() { return errorCode; }
    /** The failing line in its procedure body from 1 (ENGINE); else -1. */
    public int lineNumber() { return lineNumber; }
    /** The error number's standard text, or null. */
    public String errorText() { return errorText; }

    /** Throws the record's failure, if any; the record is released whatever happens. */
    static void check(Pointer record) {
        if (record != null) throw fromRecord(record);
    }

    static QuorvexException fromRecord(Pointer record) {
        try {
            // Every text is copied before the record goes back to the library.
            ErrorRecord.Layout r = new ErrorRecord.Layout(record);
            String message = Text.copy(r.message);
            return new QuorvexException(ErrorKind.of(r.kind), message == null ? "" : message, Text.copy(r.procName),
                                        Text.copy(r.progLineName), r.errorCode, r.progLineNum, Text.copy(r.errorText));
        } finally {
            NativeApi.hclearErrorMsg(record);
        }
    }
}
