// PLOTCK: exercises the graphics layer end to end: device selection, colours,
// line styles, rotated text, markers, the screen cursor and every hardcopy.
#include <string>

#include "plot/plot_layer.hpp"
#include "plotck_figures.hpp"
#include "terminal/listing.hpp"     // setProgramInvocation, BuildDate
#include "terminal/run_stop.hpp"    // stopRun
#include "terminal/term_input.hpp"  // termInput, UpperCase
#include "terminal/unit_table.hpp"

int main(int, char** argv) {
  setProgramInvocation(argv[0]);
  UnitTable& units = unitTable();
  units.writeLine(UnitTable::kTerminalOut, " PLOTCK starting");
  units.writeLine(UnitTable::kTerminalOut, " PLOTCK linked " + BuildDate());

  PlotLayer& layer = plotLayer();
  layer.selectDevices("Plot_Ck", 7);
  drawEllipses(layer);

  std::string answer(1, ' ');
  termInput().nextItem("Hit a <CR> to continue", 0, answer);
  do {
    drawSquaresWithCursor(layer);
    answer.assign(1, ' ');
    termInput().nextItem("Do again (Y,<N>)?", 0, answer);
    UpperCase(answer, 1);
  } while (answer[0] == 'Y');

  layer.close();
  stopRun(" Plotck complete");
}
