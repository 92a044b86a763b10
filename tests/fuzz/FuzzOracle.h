#pragma once

// What the fuzz target asks of a combine that reports success, judged with libqpdf alone: the
// output reads clean, holds the pages taken, and carries every value it took from the input
// as the input had it.

#include <cstdint>
#include <string>
#include <vector>

namespace tomefuse::fuzz {

// The input as libqpdf reads it on its own, walked once.
class InputReading {
  public:
    explicit InputReading(std::string bytes);
    ~InputReading();
    InputReading(const InputReading&) = delete;
    InputReading& operator=(const InputReading&) = delete;

    struct State;
    State& state() const { return *state_; }

  private:
    State* state_;
};

// Where the input's pages stand in an output: each run of them starts at one of these indexes.
struct OutputPlan {
    uint64_t pageCount = 0;
    uint64_t inputPages = 0;  // as the engine counts them; traced only when libqpdf agrees
    std::vector<uint64_t> inputStarts;
};

// Aborts with what it found when the output breaks one of the rules.
void expectFaithful(const std::string& outputPath, const InputReading& input, const OutputPlan& plan);

}  // namespace tomefuse::fuzz
