// Spooler modules for the loader's tests, one per kind (ORVEL_TEST_MODULE_KIND):
//   1 works: its spooler answers with values a test can recognise;
//   2 has none of the entry points;
//   3 was built for another interface, and must not be asked for a spooler;
//   4 has the entry points but makes no spooler;
//   5 works, and is planted where a loader that searched could find it: as soon as it is loaded
//     it adds its own path, as a line, to the file that ORVEL_PLANTED_MARKER names.
#include <dlfcn.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "printer/cups/SpoolerModuleEntries.h"

#define ORVEL_MODULE_ENTRY extern "C" __attribute__((visibility("default")))

namespace {

int g_alive = 0;

class ModuleSpooler : public orvel::Spooler {
public:
    static constexpr Handle kHandle = 7;

    ModuleSpooler() { ++g_alive; }
    ~ModuleSpooler() override { --g_alive; }

    orvel::DefaultPrinter defaultPrinter() override { return {true, "Module printer"}; }
    Handle openPrinter(const std::string& name) override {
        return name == "Module printer" ? kHandle : kNoHandle;
    }
    long queuedJobs(Handle printer) override { return printer == kHandle ? 3 : 0; }
    bool queueStopped(Handle printer) override { return printer == kHandle; }
    bool startDocument(Handle printer, const std::string& name) override {
        return printer == kHandle && name == "document";
    }
    bool startPage(Handle printer) override { return printer == kHandle; }
    long writeChunk(Handle printer, const orvel::Bytes& chunk) override {
        return printer == kHandle ? static_cast<long>(chunk.size()) : -1;
    }
    bool endPage(Handle printer) override { return printer == kHandle; }
    bool endDocument(Handle printer) override { return printer == kHandle; }
    void cancelDocument(Handle) override {}
    void closePrinter(Handle) override {}
};

}  // namespace

#if ORVEL_TEST_MODULE_KIND == 5
__attribute__((constructor)) static void tellThatAPlantedModuleWasLoaded() {
    const char* marker = std::getenv("ORVEL_PLANTED_MARKER");
    Dl_info self{};
    if (marker != nullptr &&
        dladdr(reinterpret_cast<void*>(&tellThatAPlantedModuleWasLoaded), &self) != 0 &&
        self.dli_fname != nullptr)
        std::ofstream(marker, std::ios::app) << self.dli_fname << "\n";
}
#endif

// How many of the module's spoolers live: the test's view of their ends.
ORVEL_MODULE_ENTRY int orvel_test_module_spoolers_alive() {
    return g_alive;
}

#if ORVEL_TEST_MODULE_KIND != 2
ORVEL_MODULE_ENTRY int orvel_spooler_module_version() {
#if ORVEL_TEST_MODULE_KIND == 3
    return orvel::spooler_module::kInterfaceVersion + 1;
#else
    return orvel::spooler_module::kInterfaceVersion;
#endif
}

ORVEL_MODULE_ENTRY orvel::Spooler* orvel_spooler_module_create() {
#if ORVEL_TEST_MODULE_KIND == 3
    std::abort();
#elif ORVEL_TEST_MODULE_KIND == 4
    return nullptr;
#else
    return new ModuleSpooler();
#endif
}

ORVEL_MODULE_ENTRY void orvel_spooler_module_destroy(orvel::Spooler* spooler) {
    delete spooler;
}
#endif
