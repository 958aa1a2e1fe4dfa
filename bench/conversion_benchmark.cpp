// ConvertPounds, ParseDecimalText and FormatFixedText over a corpus of typical entries,
// side by side with what a C++ programmer would write instead (std::from_chars and
// std::to_chars), followed by each figure's ratio to its baseline. Also the time to read a
// text of a million digits.

#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdio>
#include <map>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "country_conversion.h"
#include "format_fixed.h"
#include "locale_number_settings.h"
#include "parse_decimal.h"

namespace {

// Integers of 1 to 7 digits, decimals with 1 to 3 fraction digits, exponent forms and a
// few invalid entries, as users type them.
const std::vector<std::string> kEntries = {
    "1",     "7",      "10",     "42",     "285",     "999",     "1000",     "2500",
    "12345", "99999",  "100000", "654321", "1000000", "2469134", "0.5",      "2.5",
    "12.5",  "3.75",   "0.125",  "1.005",  "99.99",   "250.25",  "1234.567", "0.039",
    "1e3",   "2.5E-3", "5E2",    "1.5e+4", "abc",     "",        "1,5",      "12 kg",
};

std::vector<double> NumbersOf(const std::vector<std::string>& entries) {
    std::vector<double> numbers;
    for (const std::string& entry : entries) {
        try {
            numbers.push_back(pound::ParseDecimalText(entry) * 0.453592);
        } catch (const pound::Exception&) {
        }
    }
    return numbers;
}

void ParseDecimalText(benchmark::State& state) {
    for (auto _ : state) {
        for (const std::string& entry : kEntries) {
            try {
                benchmark::DoNotOptimize(pound::ParseDecimalText(entry));
            } catch (const pound::EConvertError&) {
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(kEntries.size()));
}

// The baseline reports an invalid entry the way a program would: by an exception.
double BaselineParse(std::string_view text) {
    double value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || ptr != text.data() + text.size()) {
        throw std::invalid_argument("'" + std::string(text) + "' is not a valid number");
    }
    return value;
}

void BaselineFromChars(benchmark::State& state) {
    for (auto _ : state) {
        for (const std::string& entry : kEntries) {
            try {
                benchmark::DoNotOptimize(BaselineParse(entry));
            } catch (const std::invalid_argument&) {
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(kEntries.size()));
}

void FormatFixedText(benchmark::State& state) {
    const std::vector<double> numbers = NumbersOf(kEntries);
    for (auto _ : state) {
        for (double number : numbers)
            benchmark::DoNotOptimize(pound::FormatFixedText(number, 6, 3));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(numbers.size()));
}

std::string BaselineFormat(double value) {
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 3);
    return std::string(buffer, result.ptr);
}

void BaselineToChars(benchmark::State& state) {
    const std::vector<double> numbers = NumbersOf(kEntries);
    for (auto _ : state) {
        for (double number : numbers)
            benchmark::DoNotOptimize(BaselineFormat(number));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(numbers.size()));
}

void ConvertPounds(benchmark::State& state) {
    for (auto _ : state) {
        for (const std::string& entry : kEntries) {
            try {
                benchmark::DoNotOptimize(pound::ConvertPounds(1, entry));
            } catch (const pound::EConvertError&) {
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(kEntries.size()));
}

void BaselineConvert(benchmark::State& state) {
    for (auto _ : state) {
        for (const std::string& entry : kEntries) {
            try {
                const std::string number = BaselineFormat(BaselineParse(entry) * 0.453592);
                std::string result;
                result.reserve(entry.size() + number.size() + 24);
                result += entry;
                result += " фунт. - ";
                result += number;
                result += " кг.";
                benchmark::DoNotOptimize(result);
            } catch (const std::invalid_argument&) {
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(kEntries.size()));
}

// A million digits that make a number (zero, the scale being far below the range) ...
void ParseMillionDigits(benchmark::State& state) {
    const std::string text = "0." + std::string(999'997, '0') + "7";
    for (auto _ : state)
        benchmark::DoNotOptimize(pound::ParseDecimalText(text));
    state.SetBytesProcessed(state.iterations() * static_cast<long>(text.size()));
}

// ... and a million that leave the extended range: every digit is still read.
void ParseMillionDigitsBeyondRange(benchmark::State& state) {
    const std::string text(1'000'000, '3');
    for (auto _ : state) {
        try {
            pound::ParseDecimalText(text);
        } catch (const pound::EConvertError& e) {
            benchmark::DoNotOptimize(e.Message().size());
        }
    }
    state.SetBytesProcessed(state.iterations() * static_cast<long>(text.size()));
}

void ParseMillionBlanks(benchmark::State& state) {
    const std::string text = std::string(1'000'000, ' ') + "7";
    for (auto _ : state)
        benchmark::DoNotOptimize(pound::ParseDecimalText(text));
    state.SetBytesProcessed(state.iterations() * static_cast<long>(text.size()));
}

BENCHMARK(ConvertPounds);
BENCHMARK(BaselineConvert);
BENCHMARK(ParseDecimalText);
BENCHMARK(BaselineFromChars);
BENCHMARK(FormatFixedText);
BENCHMARK(BaselineToChars);
BENCHMARK(ParseMillionDigits)->Unit(benchmark::kMillisecond);
BENCHMARK(ParseMillionDigitsBeyondRange)->Unit(benchmark::kMillisecond);
BENCHMARK(ParseMillionBlanks)->Unit(benchmark::kMillisecond);

// Keeps each run's time per iteration, for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            // With repetitions, the median stands for the benchmark.
            if (run.run_type == Run::RT_Iteration || run.aggregate_name == "median") {
                times_[run.run_name.function_name] = run.GetAdjustedCPUTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void PrintRatios() const {
        std::printf("\nratio to baseline (CPU time; target: conversion <= 1.0, others <= 1.5)\n");
        const std::pair<const char*, const char*> pairs[] = {
            {"ConvertPounds", "BaselineConvert"},
            {"ParseDecimalText", "BaselineFromChars"},
            {"FormatFixedText", "BaselineToChars"},
        };
        for (const auto& [ours, baseline] : pairs) {
            const auto a = times_.find(ours), b = times_.find(baseline);
            if (a == times_.end() || b == times_.end())
                continue;
            std::printf("  %-18s %8.1f ns / %-18s %8.1f ns = %.2f\n", ours, a->second, baseline,
                        b->second, a->second / b->second);
        }
    }

  private:
    std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
    pound::LocaleNumberSettings.DecimalMark = '.';
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
