// RFLSUM: statistics of histograms' reflection lists by index class and parity,
// to show systematic absences. Opens the experiment read-only, shows the
// histogram directory, asks which histograms to examine and reports each.
#include <string>
#include <vector>

#include "expfile/directory_records.hpp"  // ReadHistogramDirectory
#include "expfile/exp_store.hpp"
#include "expfile/experiment_open.hpp"  // STRTRN
#include "rflsum/reflection_summary.hpp"
#include "terminal/fixed_field.hpp"  // fieldText
#include "terminal/listing.hpp"
#include "terminal/run_stop.hpp"

namespace {

constexpr Field kDescriptionTitle{3, 66};  // of the "      DESCR " value

}  // namespace

int main(int argc, char** argv) {
  setProgramInvocation(argv[0]);
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  OpenExperiment experiment;
  STRTRN("RFLSUM", "READ", "LIST", arguments, experiment);

  std::string description(68, ' ');
  expStore().read(experiment.expUnit, "      DESCR ", description);
  listing().setTitle(fieldText(description, kDescriptionTitle));

  const char* const kDescription = "Program for determining reflection statistics";
  listing().banner(experiment.termUnit, "RFLSUM", kDescription);
  if (experiment.listUnit != experiment.termUnit) {
    listing().pageHeader(experiment.listUnit);
    listing().banner(experiment.listUnit, "RFLSUM", kDescription);
  }

  int count = 0;
  std::vector<std::string> types;
  ReadHistogramDirectory(experiment.expUnit, count, types);
  types.resize(static_cast<std::size_t>(count), std::string(4, ' '));

  summariseReflections({experiment.expUnit, experiment.listUnit, experiment.termUnit}, types);
  stopRun("");
}
