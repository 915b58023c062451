// The generic data-set reader: one formatted read, the checks of the row in
// their order, the message and exit code of a refusal, then the row's effect.
#include "startup/dataset_table.h"

#include <cmath>
#include <cstring>
#include <string>

#include "base/log.h"

const char kMessageSnl[] = "S+nl";

double DataSetVar::value() const {
  switch (target.kind) {
    case ScanTarget::Int: return *static_cast<int *>(target.pointer);
    case ScanTarget::Double: return *static_cast<double *>(target.pointer);
    case ScanTarget::Char: return static_cast<unsigned char>(*static_cast<char *>(target.pointer));
  }
  return 0.0;
}

void DataSetVar::setDefault() const {
  switch (target.kind) {
    case ScanTarget::Int: *static_cast<int *>(target.pointer) = static_cast<int>(defaultValue); break;
    case ScanTarget::Double: *static_cast<double *>(target.pointer) = defaultValue; break;
    case ScanTarget::Char: *static_cast<char *>(target.pointer) = static_cast<char>(defaultValue); break;
  }
}

namespace {

bool passes(const DataSetRow &row, const DataSetCheck &check, int count) {
  if (check.op == DataSetCheck::Count) return count >= check.var;
  if (check.op == DataSetCheck::Rule) return check.rule();
  double v = row.vars[static_cast<std::size_t>(check.var)].value();
  switch (check.op) {
    case DataSetCheck::Range: return v >= check.low && v <= check.high;
    case DataSetCheck::AtLeast: return v >= check.low;
    case DataSetCheck::Above: return v > check.low;
    case DataSetCheck::AtMost: return v <= check.high;
    case DataSetCheck::Below: return v < check.high;
    case DataSetCheck::AbsAtMost: return std::fabs(v) <= check.high;
    case DataSetCheck::OneOf: return v != 0 && std::strchr(check.letters, static_cast<int>(v)) != nullptr;
    default: return true;
  }
}

}  // namespace

void refuseDataSet(const DataSetRow &row, const char *message, int exitCode, int count) {
  if (message == kMessageS || message == kMessageSnl) {
    std::string text = "Error for F " + std::to_string(row.number) + " in control";
    if (message == kMessageSnl) text += "\n";
    fatalExit(exitCode, text.c_str());
  }
  // The count is of the items converted: none when the input ended first (EOF).
  if (std::strstr(message, "%d")) fatalPrintf(exitCode, nullptr, message, count < 0 ? 0 : count);
  fatalExit(exitCode, message);
}

void readDataSetRow(ControlStream &stream, const DataSetRow &row) {
  if (row.handler) {
    row.handler(stream);
    return;
  }
  ScanTarget targets[16];
  std::size_t n = row.vars.size() < 16 ? row.vars.size() : 16;
  for (std::size_t i = 0; i < n; ++i) targets[i] = row.vars[i].target;
  ScanResult read = scanFormat(stream, row.format, std::span<const ScanTarget>(targets, n));

  bool hasCount = false;
  for (const DataSetCheck &check : row.checks) hasCount |= check.op == DataSetCheck::Count;
  if (row.storesCount == 1 || (row.storesCount == -1 && hasCount)) DataSetNumber = read.count;

  // A number that overflows or is not finite is refused like a value out of range.
  if (read.bad) refuseDataSet(row, row.message, row.exitCode, read.count);
  for (const DataSetCheck &check : row.checks) {
    if (!passes(row, check, read.count)) {
      refuseDataSet(row, check.message ? check.message : row.message, check.exitCode ? check.exitCode : row.exitCode,
                    read.count);
    }
  }
  if (row.effect) row.effect();
}

void setRowDefaults(std::span<const DataSetRow> rows) {
  for (const DataSetRow &row : rows) {
    for (const DataSetVar &var : row.vars) var.setDefault();
    if (row.defaults) row.defaults();
  }
}
