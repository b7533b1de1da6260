// Built by the layer test, never by the program: imaging/ includes a header of pdf/, which it does
// not link. The build must refuse it.
#include "pdf/pdf_writer.h"

int LayerProbe() {
    return 0;
}
