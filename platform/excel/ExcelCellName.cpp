#include "platform/excel/ExcelCellName.h"

QString ExcelColumnName(int column) {
    QString name;
    while (column > 0) {
        const int digit = (column - 1) % 26;
        name.prepend(QChar('A' + digit));
        column = (column - 1) / 26;
    }
    return name;
}

QString ExcelCellName(int column, int row) {
    return ExcelColumnName(column) + QString::number(row);
}

bool ParseExcelCellName(const QString& name, int* column, int* row) {
    int i = 0;
    long long col = 0;
    while (i < name.size() && name[i].toUpper() >= 'A' && name[i].toUpper() <= 'Z') {
        col = col * 26 + (name[i].toUpper().unicode() - 'A' + 1);
        if (col > 16384)
            return false;
        ++i;
    }
    if (i == 0 || i == name.size())
        return false;
    bool ok = false;
    const int r = name.mid(i).toInt(&ok);
    if (!ok || r < 1 || r > 1048576 || !name[i].isDigit())
        return false;
    if (column)
        *column = static_cast<int>(col);
    if (row)
        *row = r;
    return true;
}
