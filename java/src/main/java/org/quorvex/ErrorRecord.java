package org.quorvex;

import com.sun.jna.Pointer;
import com.sun.jna.Structure;

/** Holds the record's layout; JNA reads the fields of a public class only. */
final class ErrorRecord {
    private ErrorRecord() {}

/**
 * The library's error record, laid out as the C struct: pointer fields are pointer-sized.
 * It is only ever read from the record's address; the address, not this structure, goes back
 * to hclearErrorMsg, so JNA never touches the memory after its release.
 */
@Structure.FieldOrder({"kind", "procName", "progLineName", "errorCode", "progLineNum", "message", "errorText", "reserved"})
public static final class Layout extends Structure {
    public int kind;
    public Pointer procName;
    public Pointer progLineName;
    public int errorCode;
    public int progLineNum;
    public Pointer message;
    public Pointer errorText;
    public Pointer reserved;

    Layout(Pointer address) {
        super(address);
        setAutoSynch(false);
        read();
    }
}
}
