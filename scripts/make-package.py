#!/usr/bin/env python3
"""Writes the sample driver package that ships beside the tool: package/ at the repository root.

The package is test data of our own. The "DLL" and help files are short placeholder texts, not
programs; the GPD files are GPD-style descriptions written for this package. What the tool relies
on is only the layout, the file names, the three GPD keys of the label driver and its INI section.

Run from anywhere: python3 scripts/make-package.py  (rewrites package/ deterministically)
"""

import os
import shutil
import sys
import zlib

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir)
PACKAGE = os.path.normpath(os.path.join(ROOT, "package"))

ENVIRONMENTS = ["Windows x64", "Windows NT x86"]
LABEL_TEMPLATE = "KTL-400L (4inch)"

# Receipt models: GPD file, resource DLL, model name, paper width in mm, cutter.
RECEIPT_MODELS = [
    ("R80C.GPD", "R80.DLL", "TPR-80C", 80, True),
    ("R80.GPD", "R80.DLL", "TPR-80", 80, False),
    ("R58C.GPD", "R58.DLL", "TPR-58C", 58, True),
    ("R58.GPD", "R58.DLL", "TPR-58", 58, False),
    ("R76C.GPD", "R76.DLL", "TPR-76C", 76, True),
    ("R76.GPD", "R76.DLL", "TPR-76", 76, False),
    ("R90.GPD", "R90.DLL", "TPR-90", 90, True),
]

SHARED_RECEIPT_BINARIES = [
    "ReceiptDrv.dll", "ReceiptUI.dll", "QVCHISMPL.DLL", "QVCHITRAD.DLL", "QVENGLISH.DLL",
    "UNIRES.DLL", "UNIDRV.DLL", "UNIDRVUI.DLL", "UNIDRV.HLP",
]

LABEL_BINARIES = [
    LABEL_TEMPLATE + "RES.dll", LABEL_TEMPLATE + "UI.dll", LABEL_TEMPLATE + "Drv.dll",
    "UNIRES.DLL", "QVCHISMPL.DLL", "QVCHITRAD.DLL", "QVENGLISH.DLL", "SupportUI.dll",
    "UNIDRV.dll", "UNIDRVUI.dll", "UNIDRV.HLP",
]


def crlf(lines):
    return ("\r\n".join(lines) + "\r\n").encode("ascii")


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def placeholder(name, environment):
    # Distinct per file and environment, so that a test can tell which copy was staged.
    return crlf([
        "Placeholder file of the sample driver package: %s (%s)." % (name, environment),
        "It stands in for a driver file in the setup tool's tests and is not a program.",
    ])


def std_names_gpd():
    return crlf([
        "*% STDNAMES.GPD of the sample driver package: standard option names used by the",
        "*% model GPD files of this package.",
        "*Macros: StdNames",
        "{",
        "    ORIENTATION_DISPLAY: RESOURCE_ID(11100)",
        "    PORTRAIT_DISPLAY: RESOURCE_ID(11101)",
        "    PAPER_SIZE_DISPLAY: RESOURCE_ID(11300)",
        "    RESOLUTION_DISPLAY: RESOURCE_ID(11400)",
        "}",
    ])


def ttf_sub_gpd():
    return crlf([
        "*% TTFSUB.GPD of the sample driver package: TrueType font substitution table.",
        "*TTFSEnabled?: TRUE",
        "*TTFS: Arial",
        "{",
        "    *TTFontName: \"Arial\"",
        "    *DevFontName: \"Font A\"",
        "}",
    ])


def long_command(label):
    # One command line longer than the 254-byte pieces in which the label GPD is copied.
    if label:
        steps = ["SIZE 100 mm,150 mm", "GAP 2 mm,0 mm", "DIRECTION 1,0", "REFERENCE 0,0",
                 "OFFSET 0 mm", "SET PEEL OFF", "SET CUTTER OFF", "SET TEAR ON", "DENSITY 8",
                 "SPEED 4", "CODEPAGE 1252", "CLS"]
    else:
        steps = ["<1B40>", "<1B7400>", "<1C2E>", "<1B2100>", "<1B6100>", "<1B3318>",
                 "<1D4C0000>", "<1D570002>", "<1B4D00>", "<1B2D00>", "<1D4200>", "<1B7B00>"]
    sep = "<0D0A>" if label else ""
    cmd = sep.join(steps) + sep
    cmd = cmd * (1 + 300 // len(cmd))
    return "*Command: CmdStartDoc { *Order: DOC_SETUP.1  *Cmd: \"%s\" }" % cmd


def model_gpd(gpd_file, resource, model, width_mm, cutter, label,
              blank_after=("GPDFileName", "ModelName", "ResourceDLL")):
    dots = width_mm * 8  # 203 dpi, 8 dots per mm
    printable = dots - 64 if not label else dots

    if label:
        paper = "%d inch labels" % (width_mm // 25)
    else:
        paper = "%d mm receipt paper%s" % (width_mm, " with cutter" if cutter else "")

    def key(name, value):
        return "*%s:%s\"%s\"" % (name, " " if name in blank_after else "", value)

    lines = [
        "*% GPD of the sample driver package: " + model + ", " + paper + ".",
        "*% Written for the setup tool's tests; the keys below are what the tool reads.",
        "*GPDSpecVersion: \"1.0\"",
        key("GPDFileName", gpd_file),
        "*Include: \"STDNAMES.GPD\"",
        key("ModelName", model),
        "*MasterUnits: PAIR(203, 203)",
        key("ResourceDLL", resource),
        "*PrinterType: SERIAL",
        "*MaxCopies: 99",
        "*Feature: Orientation",
        "{",
        "    *rcNameID: =ORIENTATION_DISPLAY",
        "    *DefaultOption: PORTRAIT",
        "    *Option: PORTRAIT { *rcNameID: =PORTRAIT_DISPLAY }",
        "}",
        "*Feature: PaperSize",
        "{",
        "    *rcNameID: =PAPER_SIZE_DISPLAY",
        "    *DefaultOption: P%d" % width_mm,
        "    *Option: P%d" % width_mm,
        "    {",
        "        *Name: \"%d x 297 mm\"" % width_mm,
        "        *PageDimensions: PAIR(%d, 2376)" % dots,
        "        *PrintableArea: PAIR(%d, 2376)" % printable,
        "        *PrintableOrigin: PAIR(%d, 0)" % ((dots - printable) // 2),
        "    }",
        "}",
        "*Feature: Resolution",
        "{",
        "    *rcNameID: =RESOLUTION_DISPLAY",
        "    *DefaultOption: 203dpi",
        "    *Option: 203dpi { *Name: \"203 x 203 dpi\"  *DPI: PAIR(203, 203) }",
        "}",
        long_command(label),
    ]
    if label:
        lines.append("*Command: CmdEndPage { *Order: PAGE_FINISH.1  *Cmd: \"PRINT 1,1<0D0A>\" }")
    else:
        end = "<1B6405>" + ("<1D5601>" if cutter else "")
        lines.append("*Command: CmdEndJob { *Order: JOB_FINISH.1  *Cmd: \"%s\" }" % end)
    return crlf(lines)


def receipt_ini():
    return crlf(["[OEMFiles]", "OEMDriverFile1=ReceiptDrv.dll", "OEMConfigFile1=ReceiptUI.dll"])


def label_ini():
    return crlf(["[OEMFiles]", "OEMDriverFile1=%sDrv.dll" % LABEL_TEMPLATE,
                 "OEMConfigFile1=%sUI.dll" % LABEL_TEMPLATE])


# --- FAQ document -------------------------------------------------------------------------------

FAQ = [
    ("h", "KQDR512 FAQ 1.01"),
    ("p", "Printer setup tool: questions and answers"),
    ("h", "1. Which connections does the tool support?"),
    ("p", "USB, serial COM port, network (LAN) and Bluetooth serial port. Choose the kind with "
          "the USB, COM, LAN or BLE radio. The port list follows the attached printers every "
          "half second."),
    ("h", "2. What does Check Port do?"),
    ("p", "It prints a short port-information page straight on the printer, without the "
          "Windows spooler: the connection kind and the port name or address. Receipt printers "
          "also feed and cut the paper. If nothing prints, the port is wrong or the printer is "
          "off, out of paper or not connected."),
    ("h", "3. How do I install the driver?"),
    ("p", "Select your Windows version (the tool preselects the one it detected), the printer "
          "model (a C at the end of the name means the model has a paper cutter), the "
          "connection and, for COM, the baud rate. Press Install Now. The tool checks the port, "
          "copies the driver files, registers the driver and creates the printer. Tick Set "
          "Default Printer to make it the default printer."),
    ("h", "4. The printer already exists. What name does the new one get?"),
    ("p", "The model name with a copy number, for example TPR-80C (copy 1). Existing printers "
          "are left as they are."),
    ("h", "5. How do I print a test page?"),
    ("p", "Answer Yes when the tool asks after a successful installation. The page goes through "
          "the new printer driver and shows the printer name and the date and time."),
    ("h", "6. Troubleshooting"),
    ("p", "Malfunction or Install printer driver failed: run the tool as administrator "
          "(right-click, Run as administrator) and keep the driver folders Windows x64, "
          "Windows NT x86 and KTL-400L (4inch) beside the program."),
    ("p", "No USB: connect the printer, switch it on and wait until Windows has set up the "
          "USB printing port."),
    ("p", "No COM: check the cable or pair the Bluetooth printer first; the baud rate must match "
          "the printer's self-test page (9600 or 19200 on most printers)."),
    ("p", "Network printer not found: the computer and the printer must be in the same network "
          "segment; type the address printed on the self-test page into the address field. The "
          "printer listens on TCP port 9100."),
    ("p", "PrintSelftest prints the printer's own configuration page; use it to read the "
          "printer's baud rate and network address."),
]


def wrap(text, width):
    words, lines, line = text.split(), [], ""
    for w in words:
        if line and len(line) + 1 + len(w) > width:
            lines.append(line)
            line = w
        else:
            line = (line + " " + w) if line else w
    if line:
        lines.append(line)
    return lines


def pdf_escape(text):
    return text.replace("\\", "\\\\").replace("(", "\\(").replace(")", "\\)")


def faq_pdf():
    # Lines laid out top-down on A4 pages; headings bold, body regular.
    pages, ops, y = [], [], 790
    for kind, text in FAQ:
        size, font, width = (13, "F2", 70) if kind == "h" else (10.5, "F1", 92)
        lines = wrap(text, width)
        need = len(lines) * (size + 4) + (8 if kind == "h" else 6)
        if y - need < 60:
            pages.append(ops)
            ops, y = [], 790
        if kind == "h":
            y -= 8
        for line in lines:
            ops.append("BT /%s %.1f Tf 56 %d Td (%s) Tj ET" % (font, size, y, pdf_escape(line)))
            y -= int(size + 4)
        y -= 6
    pages.append(ops)

    objects = []  # 1-based object numbers

    def add(body):
        objects.append(body)
        return len(objects)

    catalog = add(None)
    page_tree = add(None)
    regular = add(b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica "
                  b"/Encoding /WinAnsiEncoding >>")
    bold = add(b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica-Bold "
               b"/Encoding /WinAnsiEncoding >>")
    page_ids = []
    for ops in pages:
        stream = zlib.compress("\n".join(ops).encode("latin-1"), 9)
        content = add(b"<< /Length %d /Filter /FlateDecode >>\nstream\n" % len(stream) + stream +
                      b"\nendstream")
        page_ids.append(add(("<< /Type /Page /Parent %d 0 R /MediaBox [0 0 595 842] "
                             "/Resources << /Font << /F1 %d 0 R /F2 %d 0 R >> >> "
                             "/Contents %d 0 R >>" % (page_tree, regular, bold, content))
                            .encode("ascii")))
    objects[catalog - 1] = b"<< /Type /Catalog /Pages %d 0 R >>" % page_tree
    objects[page_tree - 1] = ("<< /Type /Pages /Kids [%s] /Count %d >>" % (
        " ".join("%d 0 R" % p for p in page_ids), len(page_ids))).encode("ascii")
    info = add(b"<< /Title (KQDR512 FAQ 1.01) /Producer (make-package.py) >>")

    out = bytearray(b"%PDF-1.4\n%\xe2\xe3\xcf\xd3\n")
    offsets = []
    for number, body in enumerate(objects, 1):
        offsets.append(len(out))
        out += b"%d 0 obj\n" % number + body + b"\nendobj\n"
    xref = len(out)
    out += b"xref\n0 %d\n0000000000 65535 f \n" % (len(objects) + 1)
    for off in offsets:
        out += b"%010d 00000 n \n" % off
    out += (b"trailer\n<< /Size %d /Root %d 0 R /Info %d 0 R >>\nstartxref\n%d\n%%%%EOF\n" %
            (len(objects) + 1, catalog, info, xref))
    return bytes(out)


def main():
    if os.path.isdir(PACKAGE):
        shutil.rmtree(PACKAGE)
    for env in ENVIRONMENTS:
        folder = os.path.join(PACKAGE, env)
        for name in SHARED_RECEIPT_BINARIES:
            write(os.path.join(folder, name), placeholder(name, env))
        write(os.path.join(folder, "Receipt.ini"), receipt_ini())
        write(os.path.join(folder, "STDNAMES.GPD"), std_names_gpd())
        write(os.path.join(folder, "TTFSUB.GPD"), ttf_sub_gpd())
        for gpd, res, model, width, cutter in RECEIPT_MODELS:
            write(os.path.join(folder, "RES", res), placeholder(res, env))
            write(os.path.join(folder, "RES", gpd),
                  model_gpd(gpd, res, model, width, cutter, label=False))

        label = os.path.join(PACKAGE, LABEL_TEMPLATE, env)
        for name in LABEL_BINARIES:
            write(os.path.join(label, name), placeholder(name, env))
        write(os.path.join(label, LABEL_TEMPLATE + ".ini"), label_ini())
        write(os.path.join(label, "STDNAMES.GPD"), std_names_gpd())
        # The label GPD spells one of its keys with a blank after the colon, two without.
        gpd = model_gpd(LABEL_TEMPLATE + ".gpd", LABEL_TEMPLATE + "RES.dll", LABEL_TEMPLATE,
                        100, False, label=True, blank_after=("ModelName",))
        write(os.path.join(label, LABEL_TEMPLATE + ".gpd"), gpd)

    write(os.path.join(PACKAGE, "Resource", "KQDR512 FAQ 1.01.pdf"), faq_pdf())
    return 0


if __name__ == "__main__":
    sys.exit(main())
