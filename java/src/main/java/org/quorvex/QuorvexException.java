package org.quorvex;

import com.sun.jna.Pointer;

/** A failure the library reported, with every field of its error record. */
public class QuorvexException extends RuntimeException {
    private static final long serialVersionUID = 1L;

    /** What failed. */
    private final ErrorKind kind;
    /** The operator or executing procedure, or null. */
    private final String procedureName;
    /** The operator or procedure called on the failing line, or null. */
    private final String lineName;
    /** The error number. */
    private final int errorCode;
    /** The failing line, from 1, or -1. */
    private final int lineNumber;
    /** The error number's standard text, or null. */
    private final String errorText;

    /**
     * An exception with every field of an error record.
     *
     * @param kind what failed
     * @param message the record's message
     * @param procedureName the operator or executing procedure, or null
     * @param lineName the operator or procedure called on the failing line, or null
     * @param errorCode the error number
     * @param lineNumber the failing line, from 1, or -1
     * @param errorText the error number's standard text, or null
     */
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

    /**
     * What failed.
     *
     * @return the field
     */
    public ErrorKind getKind() { return kind; }

    /**
     * The operator (OPERATOR) or the executing procedure (ENGINE); else null.
     *
     * @return the field
     */
    public String getProcedureName() { return procedureName; }

    /**
     * The operator or procedure called on the failing line (ENGINE); else null.
     *
     * @return the field
     */
    public String getLineName() { return lineName; }

    /**
     * The error number; -1 for MESSAGE.
     *
     * @return the field
     */
    public int getErrorCode() { return errorCode; }

    /**
     * The failing line in its procedure body from 1 (ENGINE); else -1.
     *
     * @return the field
     */
    public int getLineNumber() { return lineNumber; }

    /**
     * The error number's standard text, or null.
     *
     * @return the field
     */
    public String getErrorText() { return errorText; }

    /**
     * What failed.
     *
     * @return the same as {@link #getKind()}
     * @deprecated use {@link #getKind()}
     */
    @Deprecated
    public ErrorKind kind() { return kind; }

    /**
     * The operator (OPERATOR) or the executing procedure (ENGINE); else null.
     *
     * @return the same as {@link #getProcedureName()}
     * @deprecated use {@link #getProcedureName()}
     */
    @Deprecated
    public String procedureName() { return procedureName; }

    /**
     * The operator or procedure called on the failing line (ENGINE); else null.
     *
     * @return the same as {@link #getLineName()}
     * @deprecated use {@link #getLineName()}
     */
    @Deprecated
    public String lineName() { return lineName; }

    /**
     * The error number; -1 for MESSAGE.
     *
     * @return the same as {@link #getErrorCode()}
     * @deprecated use {@link #getErrorCode()}
     */
    @Deprecated
    public int errorCode() { return errorCode; }

    /**
     * The failing line in its procedure body from 1 (ENGINE); else -1.
     *
     * @return the same as {@link #getLineNumber()}
     * @deprecated use {@link #getLineNumber()}
     */
    @Deprecated
    public int lineNumber() { return lineNumber; }

    /**
     * The error number's standard text, or null.
     *
     * @return the same as {@link #getErrorText()}
     * @deprecated use {@link #getErrorText()}
     */
    @Deprecated
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
