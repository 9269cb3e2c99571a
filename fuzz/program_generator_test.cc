// The generator's promises: it reads the engine's signatures, spent bytes end every construct,
// and whatever the bytes, what it writes loads, so that the fuzzer's inputs reach the running
// engine rather than its reader.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "generated_files.h"
#include "support/record_assertions.h"
#include "support/temp_folder.h"

namespace quorvex::fuzz {
namespace {

TEST(ProgramGenerator, ReadsTheGroupsOfASignature) {
  GeneratedOperator op;
  ASSERT_TRUE(parseSignature(
      "threshold (image Image : region Region : number MinGray, number MaxGray : )", &op));
  EXPECT_EQ(op.name, "threshold");
  EXPECT_EQ(op.iconicInputs, 1);
  EXPECT_EQ(op.iconicOutputs, 1);
  EXPECT_EQ(op.controlInputKinds, (std::vector<std::string>{"number", "number"}));
  EXPECT_EQ(op.controlOutputs, 0);
  ASSERT_TRUE(parseSignature("dev_clear_window ( : : : )", &op));
  EXPECT_EQ(op.iconicInputs + op.iconicOutputs + op.controlOutputs, 0);
  EXPECT_TRUE(op.controlInputKinds.empty());
}

TEST(ProgramGenerator, RefusesWhatIsNoSignature) {
  GeneratedOperator op;
  EXPECT_FALSE(parseSignature("threshold", &op));
  EXPECT_FALSE(parseSignature("threshold (image Image : region Region)", &op));
  EXPECT_FALSE(parseSignature(" ( : : : )", &op));
}

TEST(ProgramGenerator, SpentBytesGiveOnlyTheStartingLines) {
  Choices none(nullptr, 0);
  const std::vector<GeneratedOperator> operators;
  ProgramGenerator generator(none, operators);
  const std::vector<std::string> lines =
      generator.body({{"A", "V0", "G"}, {"O0", "O1"}, {"A"}, true}, "sub");
  EXPECT_EQ(lines, (std::vector<std::string>{"gen_image_const (O0, 'byte', 64, 48)",
                                             "gen_rectangle1 (O1, 5, 5, 20, 30)",
                                             "global def tuple G", "G := []", "V0 := ''"}));
}

TEST(ProgramGenerator, EveryGeneratedInputLoads) {
  ASSERT_OK(hinit(0));
  const std::string folder = quorvex::test::makeTempFolder("quorvex_generator_");
  ASSERT_FALSE(folder.empty());
  ASSERT_OK(haddProcedurePath(folder.c_str()));
  std::mt19937 random(20240611);
  for (int input = 0; input < 200; ++input) {
    std::vector<std::uint8_t> bytes(random() % 4096);
    for (auto& byte : bytes) byte = static_cast<std::uint8_t>(random());
    Choices choices(bytes.data(), bytes.size());
    const GeneratedFiles files = writeGeneratedFiles(folder, choices);
    SCOPED_TRACE(files.text);
    ASSERT_OK(hunloadAllProcedures());
    if (files.asProgram) {
      ProgramHandle program = nullptr;
      EXPECT_OK(hcreateProgram((folder + "/generated.hdev").c_str(), &program));
      hfreeProgram(program);
    } else {
      ProcedureHandle procedure = nullptr;
      EXPECT_OK(hcreateProcedure("generated", &procedure));
      hfreeProcedure(procedure);
    }
  }
}

}  // namespace
}  // namespace quorvex::fuzz
