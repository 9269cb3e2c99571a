// The System / Information operators through program lines: answers worked from the
// operators' 11.0 signatures and chapter pages, unknown names, and agreement with the
// chapter table they answer from.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "standins/engine_support.h"

namespace {

using namespace quorvex::test;

// The lines of a file of standins/hdevengine/data/ without comments and blank lines.
Lines dataLines(const std::string& fileName) {
  const char* data = std::getenv("QUORVEX_TEST_DATA");
  std::ifstream file(std::string(data ? data : "tests/data") + "/../../standins/hdevengine/data/" +
                     fileName);
  Lines lines;
  for (std::string line; std::getline(file, line);) {
    if (line.find_first_not_of(" \t\r") != std::string::npos && line[0] != '#') {
      lines.push_back(line);
    }
  }
  return lines;
}

// add_image (Image1, Image2 : ImageResult : Mult, Add : ), add_image, HALCON 11.0;
// get_system ( : : Query : Information), get_system, HALCON 11.0.
TEST(OperatorInformation, AnswersFromTheSignature) {
  expectTexts({
      {"get_param_num ('add_image', C, I1, O1, I2, O2, T)\nR := [C, I1, O1, I2, O2, T]",
       "['add_image', 2, 1, 2, 0, 'iconic']"},
      {"get_param_num ('get_system', C, I1, O1, I2, O2, T)\nR := [C, I1, O1, I2, O2, T]",
       "['get_system', 0, 0, 1, 1, 'non iconic']"},
      {"get_param_names ('add_image', A, B, C, D)\nR := [A, '|', B, '|', C, '|', D]",
       "['Image1', 'Image2', '|', 'ImageResult', '|', 'Mult', 'Add', '|']"},
      {"get_param_types ('add_image', In, Out)\nR := [In, |Out|]", "['number', 'number', 0]"},
      {"get_operator_info ('add_image', 'parameter', R)",
       "['Image1', 'Image2', 'ImageResult', 'Mult', 'Add']"},
      {"get_param_info ('add_image', 'ImageResult', 'parameter_class', A)\n"
       "get_param_info ('add_image', 'Mult', 'parameter_class', B)\n"
       "get_param_info ('add_image', 'Mult', 'type_list', C)\n"
       "get_param_info ('add_image', 'Image1', 'sem_type', D)\n"
       "R := [A, B, C, D]",
       "['output_object', 'input_control', 'integer', 'real', 'image']"},
      // The online texts are not in the tables: empty, for every slot the queries list.
      {"get_operator_info ('add_image', 'short', A)\nget_keywords ('add_image', B)\n"
       "get_keywords ('', C)\nsearch_operator ('Filter', D)\nR := [|A|, |B|, |C|, |D|]",
       "[0, 0, 0, 0]"},
  });
}

// toc_filters_bit and toc_system_operatingsystem, HALCON 11.0.
TEST(OperatorInformation, ChaptersAsTheReferenceGroupsThem) {
  expectTexts({
      {"get_chapter_info (['Filters', 'Bit'], R)",
       "['bit_and', 'bit_lshift', 'bit_mask', 'bit_not', 'bit_or', 'bit_rshift', 'bit_slice', "
       "'bit_xor']"},
      {"get_chapter_info ('System', S)\nR := find(S, 'Operating System') >= 0", "1"},
      {"get_chapter_info ('', C)\nget_chapter_info ([], D)\nR := [C == D, find(C, 'Filters') >= 0]",
       "[1, 1]"},
      {"get_operator_info ('wait_seconds', 'chapter', R)", "['System', 'Operating System']"},
      {"get_operator_name ('threshold_sub', R)", "'threshold_sub_pix'"},
      {"get_operator_name ('no operator has this', R)", "[]"},
  });
}

// query_operator_info and query_param_info, HALCON 11.0: each slot they list is one the
// get_ operators take.
TEST(OperatorInformation, EverySlotTheQueriesListIsAnswered) {
  expectTexts(
      {{"query_operator_info (Slots)\n"
        "for I := 0 to |Slots| - 1 by 1\n"
        "  get_operator_info ('add_image', Slots[I], Info)\n"
        "endfor\n"
        "query_param_info (PSlots)\n"
        "for I := 0 to |PSlots| - 1 by 1\n"
        "  get_param_info ('add_image', 'Mult', PSlots[I], Info)\n"
        "endfor\n"
        "R := [|Slots| > 0, |PSlots| > 0]",
        "[1, 1]"}});
}

// The pages give no numbers of their own: an unknown name is a wrong value of its parameter.
TEST(OperatorInformation, UnknownNamesAreWrongValues) {
  expectLineErrors({
      {"get_param_num ('no_such_operator', C, I1, O1, I2, O2, T)", 1301},
      {"get_operator_info ('add_image', 'no_such_slot', I)", 1302},
      {"get_param_info ('add_image', 'NoSuchParameter', 'description', I)", 1302},
      {"get_param_info ('add_image', 'Mult', 'no_such_slot', I)", 1303},
      {"get_keywords ('no_such_operator', K)", 1301},
      {"get_chapter_info ('No Such Chapter', I)", 1301},
      {"get_chapter_info (['Filters', 'No Such Section'], I)", 1301},
      {"get_chapter_info (['Filters', 'Bit', 'More'], I)", 1401},
      {"get_operator_info ([], 'short', I)", 1401},
      {"get_operator_name (5, N)", 1201},
      {"search_operator ([], N)", 1401},
  });
}

// '' is in every name; the chapters hold, section by section, the operators
// chapters.txt lists.
TEST(OperatorInformation, AgreesWithTheTables) {
  std::size_t operators = dataLines("operators.txt").size();
  std::size_t listed = 0;
  for (const std::string& line : dataLines("chapters.txt")) {
    std::istringstream names(line.substr(line.find(':', line.find(':') + 1) + 1));
    for (std::string name; names >> name;) ++listed;
  }
  expectTexts(
      {{"get_operator_name ('', All)\n"
        "get_chapter_info ('', Chapters)\n"
        "N := 0\n"
        "for I := 0 to |Chapters| - 1 by 1\n"
        "  get_chapter_info (Chapters[I], Sections)\n"
        "  for J := 0 to |Sections| - 1 by 1\n"
        "    get_chapter_info ([Chapters[I], Sections[J]], Names)\n"
        "    N := N + |Names|\n"
        "  endfor\n"
        "endfor\n"
        "R := [|All|, N]",
        "[" + std::to_string(operators) + ", " + std::to_string(listed) + "]"}});
}

}  // namespace
