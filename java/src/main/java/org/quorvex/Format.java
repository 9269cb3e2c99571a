package org.quorvex;

import java.math.BigDecimal;
import java.util.List;
import java.util.stream.Collectors;

/** Values as the command-line runner prints them: reals in their shortest exact form with ".0"
 *  for whole numbers, lists as [1, 2.5, 'a'], one element alone. */
public final class Format {
    private Format() {}

    /**
     * One element alone, else the list in brackets.
     *
     * @param values the values
     * @return the text
     */
    public static String values(List<?> values) {
        if (values.size() == 1) return value(values.get(0), false);
        return list(values);
    }

    static String list(List<?> values) {
        return values.stream().map(v -> value(v, true)).collect(Collectors.joining(", ", "[", "]"));
    }

    /**
     * One value.
     *
     * @param value the value
     * @param quoteStrings whether a string is put in quotes
     * @return the text
     */
    public static String value(Object value, boolean quoteStrings) {
        if (value instanceof Double) return real((Double) value);
        if (value instanceof String) return quoteStrings ? "'" + value + "'" : (String) value;
        return String.valueOf(value);
    }

    /**
     * A real in its shortest exact form, with ".0" for a whole number.
     *
     * @param value the real
     * @return the text
     */
    public static String real(double value) {
        if (Double.isNaN(value) || Double.isInfinite(value)) return Double.toString(value);
        double magnitude = Math.abs(value);
        String text = magnitude == 0 || (magnitude >= 1e-4 && magnitude < 1e17)
            ? new BigDecimal(Double.toString(value)).stripTrailingZeros().toPlainString()
            : Double.toString(value).replace("E", "e");
        if (text.indexOf('.') < 0 && text.indexOf('e') < 0) text += ".0";
        return text;
    }
}
