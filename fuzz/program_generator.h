// Turns fuzzer bytes into HDevelop procedures that load: every byte picks among constructs of
// the language that are well formed by construction, so the fuzzer's effort goes into what
// the engine does when it runs them rather than into the reader's first error.
#ifndef QUORVEX_FUZZ_PROGRAM_GENERATOR_H
#define QUORVEX_FUZZ_PROGRAM_GENERATOR_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quorvex::fuzz {

// The bytes as a sequence of choices; once they are spent every choice is the first, which
// is always the one that ends a construct, so every input gives a finite procedure.
class Choices {
 public:
  Choices(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  unsigned below(unsigned count) {
    if (count <= 1 || position_ >= size_) return 0;
    return data_[position_++] % count;
  }
  bool spent() const { return position_ >= size_; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t position_ = 0;
};

// An operator a line may call: the kinds of its control inputs and how many parameters each
// of the four groups has.
struct GeneratedOperator {
  std::string name;
  int iconicInputs = 0, iconicOutputs = 0, controlOutputs = 0;
  std::vector<std::string> controlInputKinds;
};

// One operator from the engine's listing, "name (kind A, kind B : ... : ... : ...)"; false for
// a signature it cannot read.
bool parseSignature(const std::string& signature, GeneratedOperator* parsed);

// The variables a procedure's lines may use, by kind; those of `control` that are not
// `inputs` get a value first, so that a run goes past its first lines. The procedure that
// `definesGlobal` empties the global G, so that a run does not depend on the runs before.
struct Variables {
  std::vector<std::string> control, iconic, inputs;
  bool definesGlobal = false;
};

class ProgramGenerator {
 public:
  ProgramGenerator(Choices& choices, const std::vector<GeneratedOperator>& operators)
      : in_(choices), operators_(operators) {}

  // The body of a procedure; `subprocedure` is the name a line may call as
  // `name (Iconic : Iconic : Control, Control : Control)`.
  std::vector<std::string> body(const Variables& variables, const std::string& subprocedure);

 private:
  void block(int depth, bool inLoop);
  void statement(int depth, bool inLoop);
  void call(int depth);
  std::string expression(int depth);
  std::string atom();
  std::string literal(const std::string& kind);
  const std::string& control();
  const std::string& iconic();
  void emit(int depth, const std::string& line);

  Choices& in_;
  const std::vector<GeneratedOperator>& operators_;
  Variables variables_;
  std::string subprocedure_;
  std::vector<std::string> lines_;
  int insideTry_ = 0;
};

}  // namespace quorvex::fuzz

#endif
