"""The printer's side of a job, read as a 24-pin ESC/P printer reads it: bit-image bands
(ESC * 39: 180 dots an inch, 3 bytes a column, the top dot in the high bit of the first byte),
paper feed (ESC J n: n/180 inch; LF: one line), carriage return, form feed, the page length
(ESC ( U, ESC ( C), the typeface (ESC k) and text. Written from the printer's command language,
apart from the program's own code, as the held-out check of what the program sends."""


class Page:
    def __init__(self):
        self.dots = set()        # (x, y) in 1/180 inch from the top left of the printed area
        self.text_lines = [""]   # the text printed, one entry per line end
        self.length_360ths = None

    def dot(self, x, y):
        return (x, y) in self.dots


class Job:
    def __init__(self):
        self.pages = []
        self.typefaces = []      # every ESC k n, in order
        self.commands = []       # every ESC command letter, in order


PARAMETER_COUNTS = {"@": 0, "x": 1, "k": 1, "P": 0, "M": 0, "g": 0, "E": 0, "F": 0,
                    "w": 1, "W": 1, "a": 1, "0": 0, "2": 0, "3": 1, "J": 1, "\x19": 1}


def read_job(data):
    job = Job()
    page = Page()
    x = y = unit = 0
    i = 0

    def end_page():
        nonlocal page, x, y
        job.pages.append(page)
        page = Page()
        x = y = 0

    while i < len(data):
        byte = data[i]
        i += 1
        if byte == 0x0D:
            x = 0
        elif byte == 0x0A:
            page.text_lines.append("")
            y += 30  # a line of 1/6 inch
        elif byte == 0x0C:
            end_page()
        elif byte == 0x1B:
            command = chr(data[i])
            i += 1
            job.commands.append(command)
            if command == "*":
                mode, columns = data[i], data[i + 1] | data[i + 2] << 8
                i += 3
                if mode != 39:
                    raise ValueError("bit-image mode %d" % mode)
                for column in range(columns):
                    for part in range(3):
                        bits = data[i + column * 3 + part]
                        for bit in range(8):
                            if bits & (0x80 >> bit):
                                page.dots.add((x + column, y + part * 8 + bit))
                i += columns * 3
                x += columns
            elif command == "(":
                what, count = chr(data[i]), data[i + 1] | data[i + 2] << 8
                values = data[i + 3:i + 3 + count]
                i += 3 + count
                if what == "U":
                    unit = values[0]
                elif what == "C":
                    if unit != 10:
                        raise ValueError("page length in an unknown unit")
                    page.length_360ths = values[0] | values[1] << 8
            elif command in PARAMETER_COUNTS:
                values = data[i:i + PARAMETER_COUNTS[command]]
                i += PARAMETER_COUNTS[command]
                if command == "J":
                    y += values[0]
                elif command == "k":
                    job.typefaces.append(values[0])
            else:
                raise ValueError("unknown command ESC %r at %d" % (command, i - 2))
        elif byte >= 0x20 or byte == 0x09:
            page.text_lines[-1] += chr(byte)
            x += 18  # 10 characters an inch
        elif byte == 0x07:
            pass  # the bell
        else:
            raise ValueError("unexpected byte %d at %d" % (byte, i - 1))
    if page.dots or page.text_lines != [""]:
        raise ValueError("the last page has no form feed")
    return job
