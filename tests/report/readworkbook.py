"""Reads a workbook with openpyxl and prints its sheets and cells as JSON.

Output: {"sheets": [names], "cells": [[row, column, kind, value], ...]} for the first worksheet,
where kind is openpyxl's data type ("s" text, "n" number, "f" formula, ...).
"""
import json
import sys

import openpyxl


def main():
    workbook = openpyxl.load_workbook(sys.argv[1])
    sheet = workbook.worksheets[0]
    cells = []
    for row in sheet.iter_rows():
        for cell in row:
            if cell.value is None:
                continue
            cells.append([cell.row, cell.column, cell.data_type, cell.value])
    result = {"sheets": workbook.sheetnames, "cells": cells}
    sys.stdout.buffer.write(json.dumps(result, ensure_ascii=False).encode("utf-8"))


if __name__ == "__main__":
    main()
