"""Prints "sheets=N|" and then every cell of the first worksheet of a workbook that holds a value,
row by row, as "E14=s:a|": reference, openpyxl data type and value (whole numbers without point).
With a second argument naming a part of the file ("xl/sharedStrings.xml"), prints that part as
stored instead."""
import sys
import zipfile

import openpyxl

if sys.argv[2:3] not in ([], [""]):
    sys.stdout.buffer.write(zipfile.ZipFile(sys.argv[1]).read(sys.argv[2]))
    sys.exit(0)
workbook = openpyxl.load_workbook(sys.argv[1])
items = ["sheets=%d" % len(workbook.worksheets)]
for row in workbook.worksheets[0].iter_rows():
    for cell in row:
        value = cell.value
        if isinstance(value, float) and value.is_integer():
            value = int(value)
        if value is not None:
            items.append("%s=%s:%s" % (cell.coordinate, cell.data_type, value))
sys.stdout.buffer.write("".join(item + "|" for item in items).encode("utf-8"))
