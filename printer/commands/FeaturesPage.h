// The features page, written in the printer's own ESC/P command language.
#pragma once

#include <vector>

#include "printer/job/RawJob.h"

namespace orvel {

inline constexpr char kFeaturesDocumentName[] = "Varnet Orvel FEATURES";

// The title chunk and the body chunk, in the order they are written.
std::vector<Bytes> featuresPageChunks();

// The page as the printer receives it: the chunks one after the other.
Bytes featuresPageBytes();

// Spools the page with the busy check off; the outcome is not used and nothing follows.
void fncPrintFeaturesPage(PrinterServices& services);

}  // namespace orvel
