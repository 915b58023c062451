// The OpenFOAM export as a new user would try it: the grid's "blockMeshDict"
// and field files copied into a case, meshed by blockMesh and judged by
// checkMesh and foamDictionary; and the parts of the files that need no
// OpenFOAM: the section areas, collapsed sides and the cell levels.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "files/channel_fields.h"
#include "files/grid_files/openfoam_export.h"
#include "grid/column_grid.h"
#include "grid/generation/grid_build.h"
#include "grid/grid_fixture.h"
#include "grid/grid_services.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/grid_index.h"
#include "model/points.h"
#include "model/settings.h"
#include "model/structured.h"
#include "startup/control_reader.h"
#include "support/run_case.h"
#include "support/work_folder.h"

namespace {

const char *const kFields[] = {"alpha.water", "U", "k", "epsilon", "nut", "p_rgh", "p"};

std::string shellOutput(const std::string &command) {
  std::string text;
  if (std::FILE *p = popen((command + " 2>&1").c_str(), "r")) {
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, p)) > 0) text.append(buffer, n);
    pclose(p);
  }
  return text;
}

// OpenFOAM's tools, or the test ends as skipped (77) outside CI.
void requireOpenFOAM() {
  if (std::system("command -v checkMesh >/dev/null 2>&1") == 0) return;
  std::printf("SKIPPED: OpenFOAM is not installed (apt-get install openfoam)\n");
  std::fflush(stdout);
  if (std::getenv("CI")) FAIL() << "OpenFOAM is not installed";
  std::_Exit(77);
}

// The folder the Debian package keeps OpenFOAM's "etc" in.
std::string openFoamDir() {
  std::string bashrc = shellOutput("dpkg -L openfoam | grep '/etc/bashrc$' | head -1");
  bashrc.erase(bashrc.find_last_not_of("\n") + 1);
  return std::filesystem::path(bashrc).parent_path().parent_path().string();
}

const char *const kControlDict =
    "FoamFile\n{\n    version 2.0;\n    format ascii;\n    class dictionary;\n    object controlDict;\n}\n"
    "application simpleFoam;\nstartFrom startTime;\nstartTime 0;\nstopAt endTime;\nendTime 1;\ndeltaT 1;\n"
    "writeControl timeStep;\nwriteInterval 1;\n";

// checkMesh reads the schemes and solution settings, though it uses none.
const char *const kFvSchemes =
    "FoamFile\n{\n    version 2.0;\n    format ascii;\n    class dictionary;\n    object fvSchemes;\n}\n"
    "ddtSchemes {}\ngradSchemes {}\ndivSchemes {}\nlaplacianSchemes {}\ninterpolationSchemes {}\nsnGradSchemes {}\n";
const char *const kFvSolution =
    "FoamFile\n{\n    version 2.0;\n    format ascii;\n    class dictionary;\n    object fvSolution;\n}\n";

// Copies the export into CASE, meshes it and returns checkMesh's output.
std::string meshAndCheck() {
  namespace fs = std::filesystem;
  fs::create_directories("CASE/system");
  fs::create_directories("CASE/0");
  fs::copy_file("blockMeshDict", "CASE/system/blockMeshDict");
  for (const char *name : kFields) fs::copy_file(name, fs::path("CASE/0") / name);
  writeFile("CASE/system/controlDict", kControlDict);
  writeFile("CASE/system/fvSchemes", kFvSchemes);
  writeFile("CASE/system/fvSolution", kFvSolution);
  const std::string env = "WM_PROJECT_DIR=" + openFoamDir() + " ";
  const std::string blockMesh = shellOutput(env + "blockMesh -case CASE");
  EXPECT_EQ(blockMesh.find("FOAM FATAL"), std::string::npos) << blockMesh;
  return shellOutput(env + "checkMesh -case CASE");
}

// The face count of a patch in checkMesh's patch table, -1 when absent.
int patchFaces(const std::string &check, const std::string &patch) {
  const std::size_t at = check.find("\n    " + patch + " ");
  if (at == std::string::npos) return -1;
  return std::atoi(check.c_str() + check.find_first_not_of(' ', at + 5 + patch.size()));
}

class OpenFOAMExport : public WorkFolderTest {
 protected:
  void SetUp() override {
    WorkFolderTest::SetUp();
    kreadDefaults();
  }
};

TEST_F(OpenFOAMExport, ChannelMeshPassesCheckMesh) {
  requireOpenFOAM();
  generateChannel();
  writeOpenFOAM2();
  const std::string check = meshAndCheck();
  EXPECT_NE(check.find("Mesh OK."), std::string::npos) << check;
  EXPECT_EQ(check.find("FOAM FATAL"), std::string::npos) << check;
  EXPECT_NE(check.find("    cells:            360\n"), std::string::npos) << check;
  const std::map<std::string, int> patches = {{"freeSurface", 40}, {"bedWall", 40},   {"inletWater", 36},
                                              {"outletWater", 36}, {"rightSide", 90}, {"leftSide", 90}};
  for (const auto &[name, faces] : patches) EXPECT_EQ(patchFaces(check, name), faces) << name << "\n" << check;
  EXPECT_EQ(patchFaces(check, "defaultFaces"), -1) << check;

  const std::string env = "WM_PROJECT_DIR=" + openFoamDir() + " ";
  for (const char *name : kFields) {
    const std::string keys = shellOutput(env + "foamDictionary -keywords CASE/0/" + name);
    EXPECT_EQ(keys, "FoamFile\ndimensions\ninternalField\nboundaryField\n") << name;
  }
}

// Two blocks joined along a grid line: the seam's points are one vertex.
class OpenFOAMJoinedBlocks : public GridFixture {};

TEST_F(OpenFOAMJoinedBlocks, JoinedBlocksMeshPassesCheckMesh) {
  requireOpenFOAM();
  allocate(11, 6, 4);
  auto columns = [](int i1, int i2, double shift) {
    std::vector<double> levels = {0.0, 0.5, 1.0};
    for (int i = i1 - 1; i <= i2; ++i) {
      for (int j = 1; j <= 3; ++j) {
        xval[i][j] = i - 1 + shift;
        yval[i][j] = j - 1;
        setLineLevels(i, j, levels);
      }
    }
    setColumnCells(addBlock(i1, i2, 2, 3), 2);
  };
  columns(2, 3, 0.0);
  columns(6, 7, -2.0);  // line 5 lies on line 3
  buildBlocks();
  metric();
  ASSERT_EQ(connectBlockSides(), 0);
  ASSERT_GT(NoConnFlate, 0);
  int cell = 1;
  for (int b = 1; b <= NoBlocks; ++b) {
    block[b].FirstCell = cell;
    block[b].LastCell = cell + 7;
    cell += 8;
  }
  writeOpenFOAM2();
  const std::string check = meshAndCheck();
  EXPECT_NE(check.find("Mesh OK."), std::string::npos) << check;
  EXPECT_NE(check.find("    cells:            16\n"), std::string::npos) << check;
}

std::vector<double> commentNumbers(const std::string &u, const std::string &start) {
  const std::size_t at = u.find(start);
  std::vector<double> values;
  if (at == std::string::npos) return values;
  const std::string line = u.substr(at, u.find('\n', at) - at);
  for (std::size_t p = line.find(':'); p != std::string::npos; p = line.find(':', p + 1)) {
    values.push_back(std::atof(line.c_str() + p + 1));
  }
  return values;
}

// F 298 splits the outlet at a level: the cells whose lowest corner lies
// below it make the lower area; the whole inlet lies below 1e20.
TEST_F(OpenFOAMExport, SectionAreasFollowTheF298Levels) {
  generateChannel("F 298 0 1e20 0.5\n");
  writeOpenFOAM2();
  const std::string u = readFile("U");
  ASSERT_EQ(u.rfind("/* OpenFOAM U file from TELVA 2 ", 0), 0u) << u;
  const std::vector<double> in = commentNumbers(u, "/* Inlet area_x:");
  const std::vector<double> out1 = commentNumbers(u, "/* Outlet area1_x:");
  const std::vector<double> out2 = commentNumbers(u, "/* Outlet area2_x:");
  ASSERT_EQ(in.size(), 2u);
  ASSERT_EQ(out1.size(), 2u);
  ASSERT_EQ(out2.size(), 2u);
  EXPECT_NEAR(std::fabs(in[0]), 4.0, 1e-9);  // four 1 m columns, 1 m deep
  EXPECT_NEAR(std::fabs(out1[0]), 4.0 * 5.0 / 9.0, 1e-9);  // five cells start below 0.5 m
  EXPECT_NEAR(std::fabs(out2[0]), 4.0 * 4.0 / 9.0, 1e-9);
  for (const char *name : kFields) {
    const bool outlet2 = std::string(name) != "alpha.water" && std::string(name) != "p";
    EXPECT_EQ(readFile(name).find("    outlet2\n") != std::string::npos, outlet2) << name;
  }
  const std::vector<std::string> levels = linesOf(readFile("levels"));
  ASSERT_EQ(levels.size(), 361u);
  EXPECT_EQ(levels[0], "Cell no.     levels[m]");
  EXPECT_EQ(levels[1].rfind("1    ", 0), 0u);
}

// A cell whose west side is collapsed to an edge gives no inletWater face.
TEST_F(OpenFOAMExport, CollapsedWestSideGivesNoInletFace) {
  generateChannel();
  const int c = block[1].FirstCell;  // the bottom cell of the first inlet column
  Cpoint5[c] = Cpoint1[c];
  Cpoint8[c] = Cpoint4[c];
  writeOpenFOAM2();
  const std::string dict = readFile("blockMeshDict");
  const std::size_t inlet = dict.find("   inletWater\n"), outlet = dict.find("   outletWater\n");
  ASSERT_NE(inlet, std::string::npos);
  const std::string part = dict.substr(inlet, outlet - inlet);
  int faces = 0;
  for (std::size_t at = part.find("         ("); at != std::string::npos; at = part.find("         (", at + 1)) ++faces;
  EXPECT_EQ(faces, 35);
}

}  // namespace
