"""The printer application under test: a server of its own on a free loopback port, its state,
spool, socket and capture folders in one temporary folder, and what the tests need around it
(ipptool, the capture files, documents made on the spot, a reading of the printer's commands)."""

import os
import shutil
import socket
import struct
import subprocess
import tempfile
import time
import zlib

APP = os.environ.get("ORVEL_PRINTER_APP", "orvel-printer-app")
COMMAND_TIMEOUT_S = 30
START_TIMEOUT_S = 10


def free_port():
    with socket.socket(socket.AF_INET, socket.SOCK_STREAM) as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


class AppServer:
    """orvel-printer-app server, started in a fresh folder; stop() ends it and removes the folder."""

    def __init__(self, printer="Orvel", device="capture:/", environment=None, options=()):
        self.root = tempfile.mkdtemp(prefix="orvel-papp.")
        self.state = os.path.join(self.root, "state")
        self.spool = os.path.join(self.root, "spool")
        self.runtime = os.path.join(self.root, "run")
        self.capture = os.path.join(self.root, "capture")
        self.log = os.path.join(self.root, "log")
        os.mkdir(self.capture, 0o700)
        self.port = free_port()
        self.printer = printer
        self.environment = environment
        self.options = list(options)
        self.proc = None
        self.start()
        if printer:
            self.cli("add", "-d", printer, "-v", device)

    def start(self):
        with open(os.path.join(self.root, "stderr"), "ab") as stderr:
            self.proc = self.launch(stderr)
        self.wait_until_listening()

    def launch(self, stderr):
        return subprocess.Popen(
            [APP, "server", "-p", str(self.port), "--state", self.state, "--spool", self.spool,
             "--runtime", self.runtime, "--capture", self.capture, "--log", self.log,
             "--log-level", "info", *self.options],
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=stderr,
            env=dict(os.environ, **(self.environment or {})))

    def wait_until_listening(self):
        deadline = time.monotonic() + START_TIMEOUT_S
        while time.monotonic() < deadline:
            if self.proc.poll() is not None:
                raise RuntimeError("the server ended at once: " + self.stderr())
            try:
                with socket.create_connection(("127.0.0.1", self.port), timeout=1):
                    return
            except OSError:
                time.sleep(0.05)
        raise RuntimeError("the server did not start within %d s" % START_TIMEOUT_S)

    def stderr(self):
        with open(os.path.join(self.root, "stderr"), errors="replace") as text:
            return text.read()

    def cli(self, *args, check=True):
        result = subprocess.run([APP, *args, "--runtime", self.runtime], capture_output=True,
                                text=True, timeout=COMMAND_TIMEOUT_S)
        if check and result.returncode != 0:
            raise AssertionError("%s failed: %s" % (" ".join(args), result.stderr))
        return result

    def shutdown(self):
        if self.proc and self.proc.poll() is None:
            try:
                self.cli("shutdown", check=False)
                self.proc.wait(timeout=15)
            except subprocess.TimeoutExpired:
                # A paused printer that holds jobs keeps the framework from shutting down.
                self.proc.terminate()
            try:
                self.proc.wait(timeout=15)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait(timeout=5)

    def stop(self):
        """Ends the server and removes its folder; a fault that a sanitizer found in the server
        fails the test."""
        self.shutdown()
        errors = self.stderr()
        shutil.rmtree(self.root, ignore_errors=True)
        if "Sanitizer" in errors:
            raise AssertionError("the server reported:\n" + errors[:20000])

    def uri(self, printer=None, user=""):
        return "ipp://%slocalhost:%d/ipp/print/%s" % (user, self.port, printer or self.printer)

    def web(self, path):
        return "http://localhost:%d%s" % (self.port, path)

    # The capture device writes each job to NNNN.escp, complete once it has that name.
    def captures(self):
        return sorted(name for name in os.listdir(self.capture) if name.endswith(".escp"))

    def wait_for_captures(self, count, timeout=20):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            names = self.captures()
            if len(names) >= count:
                return [read_bytes(os.path.join(self.capture, name)) for name in names]
            time.sleep(0.05)
        raise AssertionError("%d job(s) captured after %d s, %d expected"
                             % (len(self.captures()), timeout, count))

    def wait_until_idle(self, timeout=20):
        """Until the printer holds no job: after a settings job it pauses 2.5 s."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            ok, output = self.ipptool(get_printer_attributes("printer-state,queued-job-count"))
            if ok and attribute_values(output, "queued-job-count") == ["0"] and \
                    attribute_values(output, "printer-state") == ["idle"]:
                return
            time.sleep(0.1)
        raise AssertionError("the printer is still busy after %d s" % timeout)

    def pause_printer(self, resume=False):
        ok, output = self.ipptool(ipp_request("Resume-Printer" if resume else "Pause-Printer",
                                              ["ATTR name requesting-user-name tester"]))
        if not ok:
            raise AssertionError(output)

    def capture_times(self):
        return [os.stat(os.path.join(self.capture, name)).st_mtime for name in self.captures()]

    def print_file(self, path, document_format):
        """submit, with -f FORMAT unless the format is None."""
        given = ["-f", document_format] if document_format else []
        self.cli("submit", "-d", self.printer, *given, path)

    def ipptool(self, test, uri=None, *extra):
        """Runs an ipptool test (a file or the text of one); returns (passed, output)."""
        path = test
        if "\n" in test:
            path = os.path.join(self.root, "request.test")
            with open(path, "w") as out:
                out.write(test)
        # A session of its own, with no terminal: a server that wants a password is answered
        # with none, never by a question on the terminal the tests were started from.
        result = subprocess.run(["ipptool", "-tv", "-T", "10", *extra, uri or self.uri(), path],
                                stdin=subprocess.DEVNULL, start_new_session=True,
                                capture_output=True, text=True, timeout=COMMAND_TIMEOUT_S)
        return result.returncode == 0, result.stdout + result.stderr


def read_bytes(path):
    with open(path, "rb") as data:
        return data.read()


def write_file(folder, name, data):
    path = os.path.join(folder, name)
    with open(path, "wb") as out:
        out.write(data)
    return path


def ipp_request(operation, lines=(), statuses=("successful-ok",)):
    """One request of an ipptool test: the operation attributes every request carries (the
    printer's URI is ipptool's $uri), then the given lines, then the statuses that pass."""
    body = [" OPERATION " + operation,
            " GROUP operation-attributes-tag",
            " ATTR charset attributes-charset utf-8",
            " ATTR naturalLanguage attributes-natural-language en",
            " ATTR uri printer-uri $uri"]
    body += [" " + line for line in lines]
    body += [" STATUS " + status for status in statuses]
    return "{\n%s\n}\n" % "\n".join(body)


def set_printer_attributes(attributes):
    """An ipptool test that sets keyword attributes, expecting nothing of the answer."""
    return ipp_request("Set-Printer-Attributes",
                       ["ATTR name requesting-user-name tester", "GROUP printer-attributes-tag"]
                       + ["ATTR keyword %s %s" % pair for pair in attributes]
                       + ["DISPLAY status-code"], statuses=())


def get_printer_attributes(requested):
    return ipp_request("Get-Printer-Attributes", ["ATTR keyword requested-attributes " + requested])


def attribute_values(output, name):
    """The values ipptool -v printed for an attribute, or None when it was not there."""
    for line in output.splitlines():
        line = line.strip()
        if line.startswith(name + " ("):
            return [value.strip() for value in line.split(" = ", 1)[1].split(",")]
    return None


# --- Documents ------------------------------------------------------------------------------

def pwg_raster(width, height, resolution, page_size_points, black_runs):
    """A one-page PWG raster of 8-bit grey (sgray_8) that is black (0) or white (255) only.
    black_runs(y) lists the [start, end) pixel runs that are black on line y."""
    bytes_per_line = width
    header = bytearray(1796)

    def put(offset, value):
        header[offset:offset + 4] = struct.pack(">I", value)

    header[0:9] = b"PwgRaster"
    put(276, resolution)
    put(280, resolution)
    put(352, page_size_points[0])
    put(356, page_size_points[1])
    put(372, width)
    put(376, height)
    put(384, 8)                # bits per color
    put(388, 8)                # bits per pixel
    put(392, bytes_per_line)
    put(400, 18)               # colour space: sGray
    put(420, 1)                # colours
    put(452, 1)                # total pages
    put(456, 1)                # cross feed transform
    put(460, 1)                # feed transform
    return b"RaS2" + bytes(header) + compressed_lines(grey_lines(width, height, black_runs))


def apple_raster(width, height, resolution, black_runs):
    """A one-page Apple raster (image/urf) of 8-bit grey (W8), black_runs as for pwg_raster."""
    page = bytearray(32)
    page[0] = 8                # bits per pixel
    page[1] = 4                # colour space: sGray
    page[2] = 1                # one-sided
    page[3] = 4                # normal quality
    page[12:24] = struct.pack(">III", width, height, resolution)
    return (b"UNIRAST\0" + struct.pack(">I", 1) + bytes(page)
            + compressed_lines(grey_lines(width, height, black_runs)))


def grey_lines(width, height, black_runs):
    lines = []
    for y in range(height):
        line = bytearray(b"\xff" * width)
        for start, end in black_runs(y):
            start, end = max(start, 0), min(end, width)
            if start < end:
                line[start:end] = bytes(end - start)
        lines.append(bytes(line))
    return lines


def compressed_lines(lines):
    """Both raster formats' lines: a count of repeats, then the line in runs."""
    data = bytearray()
    y = 0
    while y < len(lines):
        count = 1
        while y + count < len(lines) and count < 256 and lines[y + count] == lines[y]:
            count += 1
        data.append(count - 1)
        data += packbits(lines[y])
        y += count
    return bytes(data)


def packbits(line):
    out = bytearray()
    i = 0
    while i < len(line):
        run = 1
        while i + run < len(line) and run < 128 and line[i + run] == line[i]:
            run += 1
        if run > 1:
            out += bytes([run - 1, line[i]])
            i += run
            continue
        start = i
        while i < len(line) and i - start < 128 and not (
                i + 1 < len(line) and line[i + 1] == line[i]):
            i += 1
        literal = line[start:i]
        out += bytes([0, literal[0]]) if len(literal) == 1 else bytes([257 - len(literal)]) + literal
    return bytes(out)


def png_grey(width, height, grey):
    """An 8-bit greyscale PNG of grey(x, y)."""
    raw = b"".join(b"\0" + bytes(grey(x, y) for x in range(width)) for y in range(height))

    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body
                + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 0, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


def one_page_pdf(text):
    """A PDF of one letter page: a black bar and a line of text."""
    content = b"0 0 0 rg 72 600 468 36 re f BT /F1 24 Tf 72 500 Td (" + text.encode() + b") Tj ET"
    objects = [
        b"<< /Type /Catalog /Pages 2 0 R >>",
        b"<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents 4 0 R "
        b"/Resources << /Font << /F1 5 0 R >> >> >>",
        b"<< /Length %d >>\nstream\n" % len(content) + content + b"\nendstream",
        b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
    ]
    pdf = bytearray(b"%PDF-1.4\n")
    offsets = []
    for number, body in enumerate(objects, 1):
        offsets.append(len(pdf))
        pdf += b"%d 0 obj\n" % number + body + b"\nendobj\n"
    xref = len(pdf)
    pdf += b"xref\n0 %d\n0000000000 65535 f \n" % (len(objects) + 1)
    for offset in offsets:
        pdf += b"%010d 00000 n \n" % offset
    pdf += b"trailer\n<< /Size %d /Root 1 0 R >>\nstartxref\n%d\n%%%%EOF\n" % (len(objects) + 1, xref)
    return bytes(pdf)
