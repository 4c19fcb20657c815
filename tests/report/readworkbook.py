"""Reads a workbook with openpyxl and prints what it holds, each item followed by "|".

The first is "sheets=" and the number of worksheets; then comes every cell of the first
worksheet that holds a value, row by row, as "E14=s:a": its reference, openpyxl's data type ("s"
text, "n" number, "f" formula, ...) and its value (a whole number without a decimal point).
"""
import sys
import zipfile

import openpyxl


def main():
    if sys.argv[2:3] not in ([], [""]):
        return sys.stdout.buffer.write(zipfile.ZipFile(sys.argv[1]).read(sys.argv[2]))
    workbook = openpyxl.load_workbook(sys.argv[1])
    items = ["sheets=%d" % len(workbook.worksheets)]
    for row in workbook.worksheets[0].iter_rows():
        for cell in row:
            value = cell.value
            if value is None:
                continue
            if isinstance(value, float) and value.is_integer():
                value = int(value)
            items.append("%s=%s:%s" % (cell.coordinate, cell.data_type, value))
    sys.stdout.buffer.write("".join(item + "|" for item in items).encode("utf-8"))


if __name__ == "__main__":
    main()
