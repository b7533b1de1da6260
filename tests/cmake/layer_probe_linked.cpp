// Built by the layer test, never by the program: the same include from a target that links pdf/
// compiles.
#include "pdf/pdf_writer.h"

int LayerProbe() {
    return 0;
}
