#pragma once

#include "TUniConnection.h"

#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <memory>

// A database system the layer's behaviour suite runs on, with the dialect of its test tables.
struct TLayerTarget {
    QString Name;
    // Configures Conn for a fresh, empty database; false with a reason when that is not possible here.
    std::function<bool(TUniConnection& Conn, QString& Why)> Setup;
    // DDL of the table "T" with one column of each kind:
    // ID (integer key), Name (text 50, required), Note (memo), Big (64-bit), F (double),
    // Amount (decimal 10,4), D (date), DT (date-time), Flag (boolean), Pic (binary), Small (16-bit).
    QString CreateTable;
};

// SQLite, MariaDB, Firebird. The temporary folder for SQLite files lives as long as the process.
const std::vector<TLayerTarget>& LayerTargets();
