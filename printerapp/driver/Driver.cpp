#include "printerapp/driver/Driver.h"

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <thread>

#include "printer/commands/mdlFlagSettings.h"
#include "printer/raster/BitImage.h"
#include "printer/raster/TextPage.h"
#include "printerapp/driver/Media.h"
#include "printerapp/server/AppContext.h"
#include "printerapp/server/Devices.h"

namespace orvel::printerapp {
namespace {

constexpr std::size_t kCopyChunk = 64 * 1024;

bool writeAll(pappl_device_t* device, const std::string& bytes) {
    if (bytes.empty())
        return true;
    return papplDeviceWrite(device, bytes.data(), bytes.size()) ==
           static_cast<ssize_t>(bytes.size());
}

struct RasterJob {
    std::unique_ptr<raster::BitImagePage> page;
};

raster::PixelFormat pixelFormatOf(const cups_page_header2_t& header) {
    if (header.cupsBitsPerPixel == 1)
        return raster::PixelFormat::Black1;
    if (header.cupsColorSpace == CUPS_CSPACE_K)
        return raster::PixelFormat::Black8;
    return raster::PixelFormat::Gray8;
}

bool startJob(pappl_job_t* job, pappl_pr_options_t*, pappl_device_t* device) {
    papplJobSetData(job, new RasterJob);
    return writeAll(device, raster::jobStart());
}

bool startPage(pappl_job_t* job, pappl_pr_options_t* options, pappl_device_t*, unsigned) {
    const cups_page_header2_t& header = options->header;
    if (header.cupsBitsPerPixel != 1 && header.cupsBitsPerPixel != 8) {
        papplJobSetMessage(job, "Unsupported raster of %u bits a pixel.", header.cupsBitsPerPixel);
        return false;
    }
    raster::PageFormat format;
    format.width = static_cast<int>(header.cupsWidth);
    format.height = static_cast<int>(header.cupsHeight);
    format.pixels = pixelFormatOf(header);
    format.lengthIn360ths = lengthIn360thsFor(options->media.size_name, options->media.size_length);
    // The picture is of the whole sheet; the head's first dot is at the left margin.
    format.firstColumn = static_cast<int>(static_cast<long>(kSideMarginHundredthsMm) *
                                          static_cast<long>(header.HWResolution[0]) / 2540);
    auto* state = static_cast<RasterJob*>(papplJobGetData(job));
    state->page = std::make_unique<raster::BitImagePage>(format);
    return true;
}

bool writeLine(pappl_job_t* job, pappl_pr_options_t*, pappl_device_t* device, unsigned,
               const unsigned char* line) {
    auto* state = static_cast<RasterJob*>(papplJobGetData(job));
    if (!state || !state->page)
        return false;
    state->page->addLine(line);
    std::string& ready = state->page->output();
    const bool written = writeAll(device, ready);
    ready.clear();
    return written;
}

bool endPage(pappl_job_t* job, pappl_pr_options_t*, pappl_device_t* device, unsigned) {
    auto* state = static_cast<RasterJob*>(papplJobGetData(job));
    if (!state || !state->page)
        return false;
    const bool written = writeAll(device, state->page->finish());
    state->page.reset();
    return written;
}

bool endJob(pappl_job_t* job, pappl_pr_options_t*, pappl_device_t* device) {
    delete static_cast<RasterJob*>(papplJobGetData(job));
    papplJobSetData(job, nullptr);
    endOfJob(device);
    return true;
}

// A job that is exactly one of the printer's permanent-settings commands (ESC EM 1, or ESC EM 0
// and twelve values): the printer stores them, and the next job waits 2.5 seconds.
bool isSettingsCommand(const std::string& head, std::size_t size) {
    return (size == 3 || size == 15) && head.size() >= 3 && head[0] == 0x1B && head[1] == 0x19 &&
           (head[2] == 0 || head[2] == 1) && (head[2] == 1) == (size == 3);
}

// The job's document. A job cancelled before its thread started it has no file any more.
int openJobFile(pappl_job_t* job) {
    const char* path = papplJobGetFilename(job);
    return path ? ::open(path, O_RDONLY | O_CLOEXEC) : -1;
}

// The printer's own commands, byte for byte.
bool printRaw(pappl_job_t* job, pappl_pr_options_t*, pappl_device_t* device) {
    const int fd = openJobFile(job);
    if (fd < 0) {
        papplJobSetMessage(job, "Unable to open the job's file.");
        return false;
    }
    std::string head;
    std::size_t total = 0;
    std::unique_ptr<char[]> buffer(new char[kCopyChunk]);
    bool ok = true;
    ssize_t got;
    while (ok && (got = ::read(fd, buffer.get(), kCopyChunk)) > 0) {
        if (head.size() < 3)
            head.append(buffer.get(), std::min<std::size_t>(3, static_cast<std::size_t>(got)));
        total += static_cast<std::size_t>(got);
        ok = papplDeviceWrite(device, buffer.get(), static_cast<std::size_t>(got)) == got;
    }
    ::close(fd);
    endOfJob(device);
    if (!ok || got < 0)
        return false;
    if (isSettingsCommand(head, total)) {
        papplDeviceFlush(device);
        std::this_thread::sleep_for(
            std::chrono::milliseconds(mdlFlagSettings::kPauseAfterDownloadMs));
    }
    return true;
}

// Plain text in the font stored for the printer, on the job's paper.
bool printText(pappl_job_t* job, pappl_device_t* device, void*) {
    pappl_printer_t* printer = papplJobGetPrinter(job);
    const StoredSettings stored = appContext().storedSettings(papplPrinterGetID(printer));
    pappl_pr_options_t* options = papplJobCreatePrintOptions(job, 1, false);
    const int length =
        options ? lengthIn360thsFor(options->media.size_name, options->media.size_length) : 0;
    if (options)
        papplJobDeletePrintOptions(options);
    raster::TextJob text(stored.selections[index(Setting::cboFont)], length);
    const int fd = openJobFile(job);
    if (fd < 0)
        return false;
    std::unique_ptr<char[]> buffer(new char[kCopyChunk]);
    bool ok = true;
    ssize_t got;
    while (ok && (got = ::read(fd, buffer.get(), kCopyChunk)) > 0)
        ok = writeAll(device, text.take(std::string(buffer.get(), static_cast<std::size_t>(got))));
    ::close(fd);
    ok = ok && got == 0 && writeAll(device, text.finish());
    endOfJob(device);
    if (ok)
        papplJobSetImpressionsCompleted(job, 1);
    return ok;
}

// Identify-Printer: the printer has no display or light; its bell (BEL) rings.
void identify(pappl_printer_t* printer, pappl_identify_actions_t, const char*) {
    pappl_device_t* device = papplPrinterOpenDevice(printer);
    if (!device)
        return;  // busy printing: the job in progress shows where it is
    papplDeviceWrite(device, "\a", 1);
    endOfJob(device);
    papplPrinterCloseDevice(printer);
}

// Documents sent without a type: the framework's own formats are left to it; anything else is
// taken for the printer's own commands.
const char* documentType(const unsigned char* header, std::size_t size, void*) {
    auto startsWith = [&](const char* magic, std::size_t length) {
        return size >= length && std::memcmp(header, magic, length) == 0;
    };
    if (startsWith("%PDF", 4) || startsWith("\x89PNG", 4) || startsWith("\xff\xd8\xff", 3) ||
        startsWith("RaS2", 4) || startsWith("UNIRAST", 7))
        return nullptr;
    return kNativeFormat;
}

pappl_pr_driver_t theDriver[] = {
    {kDriverName, kMakeAndModel, "MFG:Varnet;MDL:Orvel;CMD:ESCPL2;", nullptr},
};

}  // namespace

pappl_pr_driver_t* drivers(int* count) {
    *count = 1;
    return theDriver;
}

ipp_t* settingsAttributes(int printerId) {
    const StoredSettings stored = appContext().storedSettings(printerId);
    ipp_t* attrs = ippNew();
    for (const VendorSetting& vendor : vendorSettings()) {
        std::vector<const char*> keywords;
        for (const std::string& keyword : vendor.keywords)
            keywords.push_back(keyword.c_str());
        ippAddStrings(attrs, IPP_TAG_PRINTER, IPP_TAG_KEYWORD, (vendor.name + "-supported").c_str(),
                      static_cast<int>(keywords.size()), nullptr, keywords.data());
        ippAddString(attrs, IPP_TAG_PRINTER, IPP_TAG_KEYWORD, (vendor.name + "-default").c_str(),
                     nullptr, vendor.keywords[stored.selections[index(vendor.setting)]].c_str());
    }
    return attrs;
}

bool driverCallback(pappl_system_t*, const char* driverName, const char*, const char*,
                    pappl_pr_driver_data_t* data, ipp_t** attrs, void*) {
    if (std::strcmp(driverName, kDriverName) != 0)
        return false;
    data->printfile_cb = printRaw;
    data->rstartjob_cb = startJob;
    data->rstartpage_cb = startPage;
    data->rwriteline_cb = writeLine;
    data->rendpage_cb = endPage;
    data->rendjob_cb = endJob;
    data->format = kNativeFormat;
    std::strncpy(data->make_and_model, kMakeAndModel, sizeof(data->make_and_model) - 1);
    data->ppm = 1;
    data->kind = PAPPL_KIND_DOCUMENT;
    data->color_supported =
        PAPPL_COLOR_MODE_AUTO | PAPPL_COLOR_MODE_MONOCHROME | PAPPL_COLOR_MODE_BI_LEVEL;
    data->color_default = PAPPL_COLOR_MODE_MONOCHROME;
    data->content_default = PAPPL_CONTENT_AUTO;
    data->quality_default = IPP_QUALITY_NORMAL;
    data->scaling_default = PAPPL_SCALING_AUTO;
    // Grey only: the framework hands the driver a document's raster lines as they are but
    // describes them with the job's raster type, so a black_1 document printed in the
    // monochrome mode would reach us as 8-bit lines that are not. Pictures come as grey, and the
    // converter dithers them.
    data->raster_types = PAPPL_PWG_RASTER_TYPE_SGRAY_8;
    data->force_raster_type = PAPPL_PWG_RASTER_TYPE_NONE;
    data->duplex = PAPPL_DUPLEX_NONE;
    data->sides_supported = PAPPL_SIDES_ONE_SIDED;
    data->sides_default = PAPPL_SIDES_ONE_SIDED;
    data->orient_default = IPP_ORIENT_PORTRAIT;
    data->identify_cb = identify;
    data->identify_supported = PAPPL_IDENTIFY_ACTIONS_SOUND;
    data->identify_default = PAPPL_IDENTIFY_ACTIONS_SOUND;
    data->num_resolution = 1;
    data->x_resolution[0] = raster::kDotsPerInch;
    data->y_resolution[0] = raster::kDotsPerInch;
    data->x_default = data->y_default = raster::kDotsPerInch;
    data->left_right = kSideMarginHundredthsMm;
    data->bottom_top = kSideMarginHundredthsMm;
    data->num_media = 0;
    for (const MediaSize& size : mediaSizes())
        data->media[data->num_media++] = size.pwgName.c_str();
    data->num_source = 1;
    data->source[0] = "tractor";
    // The Domestic model's paper: continuous, 12 inches a page.
    const MediaSize& twelveInch = continuousMedia(10);
    std::strncpy(data->media_default.size_name, twelveInch.pwgName.c_str(),
                 sizeof(data->media_default.size_name) - 1);
    pwg_media_t* pwg = pwgMediaForPWG(twelveInch.pwgName.c_str());
    if (pwg) {
        data->media_default.size_width = pwg->width;
        data->media_default.size_length = pwg->length;
    }
    data->media_default.left_margin = data->media_default.right_margin = data->left_right;
    data->media_default.top_margin = data->media_default.bottom_margin = data->bottom_top;
    std::strncpy(data->media_default.source, "tractor", sizeof(data->media_default.source) - 1);
    std::strncpy(data->media_default.type, "stationery", sizeof(data->media_default.type) - 1);
    data->media_ready[0] = data->media_default;
    data->num_type = 1;
    data->type[0] = "stationery";
    data->tracking_supported = PAPPL_MEDIA_TRACKING_CONTINUOUS;
    *attrs = nullptr;
    return true;
}

void addDocumentFormats(pappl_system_t* system) {
    papplSystemAddMIMEFilter(system, "text/plain", kNativeFormat, printText, nullptr);
    papplSystemSetMIMECallback(system, documentType, nullptr);
}

}  // namespace orvel::printerapp
