#pragma once
// The result block's fields by name, in record order: every output that
// lists results (reports, JSON, golden files) names them from here.

#include <array>

#include "record/analysis_results.h"

namespace sfigmo {

struct AnalysisResultField {
  const char* Name;  // as the record names the field
  double AnalysisResults::*Member;
};

inline constexpr std::array<AnalysisResultField, 23> kAnalysisResultFields = {{
    {"NAGR", &AnalysisResults::NAGR},
    {"DescentTime", &AnalysisResults::DescentTime},
    {"Reserved", &AnalysisResults::Reserved},
    {"RiseTime", &AnalysisResults::RiseTime},
    {"SPSO", &AnalysisResults::SPSO},
    {"MeanInterval", &AnalysisResults::MeanInterval},
    {"MeanIntervalSamples", &AnalysisResults::MeanIntervalSamples},
    {"PULS", &AnalysisResults::PULS},
    {"KOLP", &AnalysisResults::KOLP},
    {"KOLE", &AnalysisResults::KOLE},
    {"PauseSamples", &AnalysisResults::PauseSamples},
    {"ExtraSamples", &AnalysisResults::ExtraSamples},
    {"AbsDeviationSum", &AnalysisResults::AbsDeviationSum},
    {"MinNormalInterval", &AnalysisResults::MinNormalInterval},
    {"MaxNormalInterval", &AnalysisResults::MaxNormalInterval},
    {"ModeCount", &AnalysisResults::ModeCount},
    {"IntervalCount", &AnalysisResults::IntervalCount},
    {"MeanNormalInterval", &AnalysisResults::MeanNormalInterval},
    {"VRKI", &AnalysisResults::VRKI},
    {"KOVR", &AnalysisResults::KOVR},
    {"SpreadIndex", &AnalysisResults::SpreadIndex},
    {"AbsDeviationPercent", &AnalysisResults::AbsDeviationPercent},
    {"IntervalSD", &AnalysisResults::IntervalSD},
}};
static_assert(kAnalysisResultFields.size() * sizeof(double) == sizeof(AnalysisResults));

// The field's name; nullptr for a member not in the table.
constexpr const char* AnalysisResultFieldName(double AnalysisResults::*member) {
  for (const AnalysisResultField& f : kAnalysisResultFields) {
    if (f.Member == member) return f.Name;
  }
  return nullptr;
}

}  // namespace sfigmo
