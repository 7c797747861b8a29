// The framework filters a Get-Printer-Attributes answer through libcups's list of the requested
// names, in which "all" and the group names stand for the registered attributes only. A request
// for just "all" gets everything, but "all,media-col-database" (what CUPS asks) leaves the
// printer's own attributes out, so CUPS would never see the settings. This definition takes the
// place of libcups's for the whole program: it asks libcups for the list and, when the request
// names "all" or "printer-description", adds the settings' attributes to it.
#include <dlfcn.h>

#include <cstring>
#include <string>
#include <vector>

#include <cups/cups.h>

#include "printerapp/settings/VendorAttributes.h"

namespace {

using RequestedArray = cups_array_t* (*)(ipp_t*);

const std::vector<std::string>& settingsAttributeNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> list;
        for (const auto& vendor : orvel::printerapp::vendorSettings()) {
            list.push_back(vendor.name + "-default");
            list.push_back(vendor.name + "-supported");
        }
        return list;
    }();
    return names;
}

bool asksForEverything(ipp_t* request) {
    ipp_attribute_t* requested = ippFindAttribute(request, "requested-attributes", IPP_TAG_KEYWORD);
    for (int i = 0; requested && i < ippGetCount(requested); ++i) {
        const char* name = ippGetString(requested, i, nullptr);
        if (name && (!std::strcmp(name, "all") || !std::strcmp(name, "printer-description")))
            return true;
    }
    return false;
}

}  // namespace

extern "C" cups_array_t* ippCreateRequestedArray(ipp_t* request) {
    static const auto libcups =
        reinterpret_cast<RequestedArray>(::dlsym(RTLD_NEXT, "ippCreateRequestedArray"));
    if (!libcups)
        return nullptr;  // everything: better too much than too little
    cups_array_t* requested = libcups(request);
    // No list means every attribute; only a list can leave ours out.
    if (requested && ippGetOperation(request) == IPP_OP_GET_PRINTER_ATTRIBUTES &&
        asksForEverything(request)) {
        for (const std::string& name : settingsAttributeNames())
            cupsArrayAdd(requested, const_cast<char*>(name.c_str()));
    }
    return requested;
}
