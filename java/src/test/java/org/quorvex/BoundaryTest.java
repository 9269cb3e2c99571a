package org.quorvex;

import static org.junit.jupiter.api.Assertions.*;

import com.sun.jna.Structure;
import java.lang.reflect.Method;
import java.lang.reflect.Modifier;
import org.junit.jupiter.api.Test;

/** The shape of the mapping: what JNA would get wrong without a sound. */
class BoundaryTest {
    @Test
    void noNativeMethodLetsJnaConvertOrKeepAText() {
        int count = 0;
        for (Method method : NativeApi.class.getDeclaredMethods()) {
            if (!Modifier.isNative(method.getModifiers())) continue;
            ++count;
            assertNotEquals(String.class, method.getReturnType(), method.getName() + " returns a String");
            for (Class<?> type : method.getParameterTypes()) {
                assertNotEquals(String.class, type, method.getName() + " takes a String");
                assertFalse(Structure.class.isAssignableFrom(type), method.getName() + " takes a Structure");
            }
        }
        assertEquals(50 - 6, count, "every export but the four dimension functions and the two iconic parameter names");
    }
}
