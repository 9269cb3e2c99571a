// Control modes, the debugging tool's settings, system_call, serialized tuples and items, and
// a window's LUT and cursor settings, through program lines.
#include <gtest/gtest.h>

#include <string>

#include "standins/engine_support.h"

namespace {

using namespace quorvex::test;

// A file of the scratch folder as a program's string: '/' serves on every platform and is no
// escape in HDevelop strings.
std::string scratchFile(const std::string& name) {
  std::string path = scratchFolder() + "/" + name;
  for (char& c : path) c = c == '\\' ? '/' : c;
  return "'" + path + "'";
}

// Leaves the thread's control modes as they were found, whatever a test did.
struct DefaultChecks {
  ~DefaultChecks() { HalconCpp::SetCheck("default"); }
};

// query_available_compute_devices, HALCON 11.0: the list of usable OpenCL devices, empty on
// a machine without one (the stand-in's case), so a program keeps to the processor.
TEST(ComputeDevices, NoneAreAvailableAndReleasingAllSucceeds) {
  expectTexts({{"query_available_compute_devices (D)\nR := |D|", "0"},
               {"deactivate_all_compute_devices ()\nrelease_all_compute_devices ()\nR := 1", "1"}});
}

// set_check, HALCON 11.0: a mode's name turns it on, '~' and the name off.
TEST(ErrorHandling, ControlModesAreSetAndListed) {
  DefaultChecks restore;
  expectTexts({
      {"set_check (['~text', 'data'])\nget_check (C)\n"
       "R := [find(C, '~text') >= 0, find(C, 'data') >= 0, find(C, 'text') >= 0]",
       "[1, 1, 0]"},
      {"set_check ('none')\nget_check (C)\nR := find(C, 'give_error') >= 0", "0"},
      {"set_check ('all')\nget_check (C)\nR := find(C, '~give_error') >= 0", "0"},
      // An unknown name changes nothing, not even the names before it.
      {"set_check ('default')\ntry\n  set_check (['~text', 'no_such_mode'])\ncatch (E)\nendtry\n"
       "get_check (C)\nR := find(C, '~text') >= 0",
       "0"},
  });
  expectLineErrors({{"set_check ('no_such_mode')", 1301},
                    {"set_check ([])", 1401},
                    {"set_check (5)", 1201},
                    {"get_spy ('no_such_class', V)", 1301},
                    {"set_spy ('mode', 'maybe')", 1302},
                    {"set_spy ('timeout', -1)", 1302},
                    {"system_call ('echo hello')", 10000},
                    {"system_call ([])", 1401}});
}

// set_check ('~give_error'), HALCON 11.0: an operator's error is returned, not raised.
TEST(ErrorHandling, WithoutGiveErrorAFailingLineSetsTheErrorVariable) {
  DefaultChecks restore;
  expectTexts(
      {{"dev_error_var (E, 1)\nset_check ('~give_error')\nget_system ('no_such', V)\n"
        "R := E\nset_check ('give_error')",
        "1301"}});
  EXPECT_EQ(programError({"set_check ('~give_error')", "set_check ('give_error')",
                          "get_system ('no_such', V)"}),
            1301);
}

// set_spy, get_spy and query_spy, HALCON 11.0: a class's value reads back.
TEST(ErrorHandling, SpySettingsAreRecorded) {
  expectTexts(
      {{"set_spy ('mode', 'on')\nget_spy ('mode', A)\nset_spy ('mode', 'off')\n"
        "query_spy (Classes, Values)\nR := [A, |Classes| == |Values|]",
        "['on', 1]"}});
}

// serialize_tuple and deserialize_tuple, HALCON 11.0: a tuple of every element kind comes
// back as it went in; so does the empty tuple.
TEST(SerializedTuples, RoundTrip) {
  const std::string kinds = "T := [1, -7, 2.5, -0.0, 'a b\\n', '', 1.0e300]\n";
  expectTexts({
      {kinds + "serialize_tuple (T, H)\ndeserialize_tuple (H, U)\n"
               "R := [U == T, is_int_elem(U), is_string_elem(U)]",
       "[1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 0]"},
      {"serialize_tuple ([], H)\ndeserialize_tuple (H, R)", "[]"},
      {kinds + "serialize_tuple (T, H)\nget_serialized_item_ptr (H, P, S)\n"
               "create_serialized_item_ptr (P, S, 'false', H2)\ndeserialize_tuple (H2, U)\n"
               "R := [U == T, S > 0]",
       "[1, 1]"},
  });
}

// create_serialized_item_ptr, HALCON 11.0, with the numbers docs/standins.md chooses: a cut
// item is no tuple (5202), an address or size not handed out a wrong value (1301).
TEST(SerializedTuples, ForeignAndTruncatedItemsAreRefused) {
  const std::string item = "serialize_tuple ([1, 'x'], H)\nget_serialized_item_ptr (H, P, S)\n";
  expectLineErrors({
      {item + "create_serialized_item_ptr (P, S - 1, 'true', H2)\ndeserialize_tuple (H2, U)", 5202},
      {item + "create_serialized_item_ptr (P, 8, 'true', H2)\ndeserialize_tuple (H2, U)", 5202},
      {item + "create_serialized_item_ptr (P, S + 1, 'true', H2)", 1301},
      {item + "create_serialized_item_ptr (P + 1, 1, 'true', H2)", 1301},
      {item + "create_serialized_item_ptr (P, 0, 'true', H2)", 1302},
      {item + "create_serialized_item_ptr (P, S, 'maybe', H2)", 1303},
      {item + "clear_serialized_item (H)\ncreate_serialized_item_ptr (P, S, 'true', H2)", 1301},
      {item + "clear_serialized_item (H)\ndeserialize_tuple (H, U)", 1301},
      {item + "deserialize_object (O, H)", 1301},
      {"gen_rectangle1 (Rect, 0, 0, 1, 1)\nserialize_region (Rect, H)\ndeserialize_tuple (H, T)",
       1301},
      {"create_serialized_item_ptr (12345, 4, 'true', H)", 1301},
      {"deserialize_tuple (987654, T)", 1301},
  });
}

// fwrite_serialized_item and fread_serialized_item, HALCON 11.0: items follow each other in a
// binary file.
TEST(SerializedTuples, ItemsInBinaryFiles) {
  const std::string file = scratchFile("items.bin");
  const std::string write =
      "serialize_tuple ([3, 'y'], H)\nserialize_tuple ([], H0)\n"
      "open_file (" +
      file +
      ", 'output_binary', F)\n"
      "fwrite_serialized_item (F, H)\nfwrite_serialized_item (F, H0)\n"
      "close_file (F)\n";
  expectTexts({{write + "open_file (" + file +
                    ", 'input_binary', F)\n"
                    "fread_serialized_item (F, A)\nfread_serialized_item (F, B)\n"
                    "close_file (F)\ndeserialize_tuple (A, TA)\ndeserialize_tuple (B, TB)\n"
                    "R := [TA, |TB|]",
                "[3, 'y', 0]"}});
  expectLineErrors({
      {write + "open_file (" + file +
           ", 'input_binary', F)\nfread_serialized_item (F, A)\n"
           "fread_serialized_item (F, B)\nfread_serialized_item (F, C)",
       5202},
      {"open_file (" + file +
           ", 'output_binary', F)\nfwrite_string (F, 'not an item')\n"
           "close_file (F)\nopen_file (" +
           file + ", 'input_binary', F)\nfread_serialized_item (F, A)",
       5202},
      {"serialize_tuple (1, H)\nopen_file (" + file +
           ", 'output', F)\nfwrite_serialized_item (F, H)",
       5204},
      {"open_file (" + file + ", 'output_binary', F)\nfwrite_serialized_item (F, 987654)", 1302},
      {"open_file (" + file + ", 'wrong_binary', F)", 1302},
  });
}

const std::string kOpen = "open_window (0, 0, 8, 6, 0, 'invisible', '', W)\n";

// set_lut, set_lut_style, set_fixed_lut, set_tshape, set_mshape, HALCON 11.0: each window
// keeps its own settings, and every name the queries list is taken.
TEST(WindowSettings, RememberedPerWindow) {
  const std::string lut = scratchFile("table");
  expectTexts({
      {kOpen + "open_window (0, 0, 8, 6, 0, 'invisible', '', W2)\nset_lut (W, 'inverse')\n"
               "get_lut (W, A)\nget_lut (W2, B)\nR := [A, B]",
       "['inverse', 'default']"},
      {kOpen + "set_lut (W, [0, 0, 0, 255, 128, 1])\nget_lut (W, R)", "[0, 0, 0, 255, 128, 1]"},
      {kOpen + "set_lut (W, [1, 2, 3])\nwrite_lut (W, " + lut +
           ")\nset_lut (W, 'default')\n"
           "set_lut (W, " +
           lut + ")\nget_lut (W, A)\nfile_exists (" + lut + " + '.lut', E)\nR := [A, E]",
       "[1, 2, 3, 1]"},
      {kOpen + "get_lut_style (W, H0, S0, I0)\nset_lut_style (W, 0.5, 2, 0)\n"
               "get_lut_style (W, H, S, I)\nR := [H0, S0, I0, H, S, I]",
       "[0.0, 1.0, 1.0, 0.5, 2.0, 0.0]"},
      {kOpen + "get_fixed_lut (W, A)\nset_fixed_lut (W, 'true')\nget_fixed_lut (W, B)\nR := [A, B]",
       "['false', 'true']"},
      {kOpen +
           "get_tshape (W, A)\nget_mshape (W, B)\nset_tshape (W, 'bar')\n"
           "set_mshape (W, 'Hourglass')\nget_tshape (W, C)\nget_mshape (W, D)\nR := [A, B, C, D]",
       "['invisible', 'arrow', 'bar', 'Hourglass']"},
      {kOpen + "query_lut (W, L)\nfor I := 0 to |L| - 1 by 1\n  set_lut (W, L[I])\nendfor\n"
               "query_tshape (W, T)\nfor I := 0 to |T| - 1 by 1\n  set_tshape (W, T[I])\nendfor\n"
               "query_mshape (W, M)\nfor I := 0 to |M| - 1 by 1\n  set_mshape (W, M[I])\nendfor\n"
               "get_lut (W, A)\nget_tshape (W, B)\nget_mshape (W, C)\n"
               "R := [A == L[|L| - 1], B == T[|T| - 1], C == M[|M| - 1]]",
       "[1, 1, 1]"},
      {kOpen + "disp_lut (W, 0, 0, 1)\nR := 1", "1"},
  });
}

// read_char and read_string wait for keys no one presses: 5, as get_mbutton (docs/standins.md).
TEST(WindowSettings, WrongValuesAndNoKeyboard) {
  expectLineErrors({
      {kOpen + "set_lut (W, 'no_such_lut')", 1302},
      {kOpen + "set_lut (W, [1, 2])", 1302},
      {kOpen + "set_lut (W, [0, 0, 256])", 1302},
      {kOpen + "set_lut (W, [])", 1402},
      {kOpen + "set_lut_style (W, 1.5, 1, 1)", 1302},
      {kOpen + "set_lut_style (W, 0, -1, 1)", 1303},
      {kOpen + "set_fixed_lut (W, 'maybe')", 1302},
      {kOpen + "set_tshape (W, 'no_such_cursor')", 1302},
      {kOpen + "set_mshape (W, 'no_such_cursor')", 1302},
      {kOpen + "disp_lut (W, 0, 0, 0)", 1304},
      {kOpen + "close_window (W)\nget_lut (W, L)", 5100},
      {kOpen + "read_char (W, C, K)", 5},
      {kOpen + "read_string (W, '', 10, S)", 5},
      {"read_char (987654, C, K)", 5100},
  });
}

}  // namespace
