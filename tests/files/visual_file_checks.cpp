// Readers of the visualisation files for the tests.
#include "files/visual_file_checks.h"
#include "support/run_case.h"

#include <cstdio>
#include <sstream>

namespace {

std::vector<std::string> quotedItems(const std::string &line) {
  std::vector<std::string> items;
  std::size_t at = 0;
  while ((at = line.find('"', at)) != std::string::npos) {
    const std::size_t end = line.find('"', at + 1);
    if (end == std::string::npos) break;
    items.push_back(line.substr(at + 1, end - at - 1));
    at = end + 1;
  }
  return items;
}

int intAfter(const std::string &line, const std::string &key) {
  const std::size_t at = line.find(key);
  return at == std::string::npos ? -1 : std::stoi(line.substr(at + key.size()));
}

}  // namespace

TecplotFile parseTecplot(const std::string &text) {
  TecplotFile t;
  const std::vector<std::string> lines = linesOf(text);
  std::size_t k = 0;
  if (k >= lines.size() || lines[k].rfind("TITLE = \"", 0) != 0) return t.error = "no TITLE", t;
  ++k;
  if (k >= lines.size() || lines[k].rfind("VARIABLES=", 0) != 0) return t.error = "no VARIABLES", t;
  t.variables = quotedItems(lines[k++]);
  if (k >= lines.size() || lines[k].rfind("ZONE ", 0) != 0) return t.error = "no ZONE", t;
  const std::string zone = lines[k++];
  int points;
  if (zone.find("FEPOINT") != std::string::npos) {
    t.n = intAfter(zone, " N=");
    t.e = intAfter(zone, ",E=");
    points = t.n;
  } else {
    t.i = intAfter(zone, "I=");
    t.j = intAfter(zone, ",J=");
    points = t.i * t.j;
    if (k < lines.size() && lines[k].rfind("SOLUTIONTIME=", 0) == 0) ++k;
  }
  for (int p = 0; p < points; ++p, ++k) {
    if (k >= lines.size()) return t.error = "missing point line " + std::to_string(p), t;
    std::istringstream in(lines[k]);
    std::vector<double> values;
    for (std::string word; in >> word;) values.push_back(std::stod(word));
    if (values.size() != t.variables.size()) return t.error = "point line " + std::to_string(p) + ": " + lines[k], t;
    t.points.push_back(values);
  }
  for (int e = 0; e < t.e; ++e, ++k) {
    if (k >= lines.size()) return t.error = "missing element line " + std::to_string(e), t;
    std::istringstream in(lines[k]);
    std::vector<int> nodes;
    for (int node; in >> node;) {
      if (node < 1 || node > t.n) return t.error = "node out of range: " + lines[k], t;
      nodes.push_back(node);
    }
    if (nodes.size() != 8) return t.error = "element line " + lines[k], t;
    t.elements.push_back(nodes);
  }
  if (k != lines.size()) t.error = "extra lines after the zone";
  return t;
}

std::vector<double> vtkSection(const std::string &text, const std::string &header, int count) {
  std::vector<double> values;
  const std::size_t at = text.find("\n" + header + "\n");
  if (at == std::string::npos) return values;
  std::size_t from = at + header.size() + 2;
  if (header.rfind("SCALARS", 0) == 0) from = text.find('\n', from) + 1;  // LOOKUP_TABLE
  std::istringstream in(text.substr(from));
  double v;
  while (static_cast<int>(values.size()) < count && in >> v) values.push_back(v);
  return values;
}

std::vector<std::string> vtkSectionNames(const std::string &text) {
  std::vector<std::string> names;
  for (const std::string &line : linesOf(text)) {
    if (line.rfind("SCALARS ", 0) == 0 || line.rfind("VECTORS ", 0) == 0) {
      std::istringstream in(line.substr(8));
      std::string name;
      in >> name;
      names.push_back(name);
    }
  }
  return names;
}
