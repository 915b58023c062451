#!/usr/bin/python3
"""The ParaView files of the engine read back through VTK's own legacy readers.

Runs the engine on the straight channel (converged, with the Tecplot and
ParaView outputs of F 329 and three G 24 variables) with a layered-bed
sediment run restarted from it, on the same channel moved
to real-world coordinates, and with an empty G 24 list, and on the example,
and checks what VTK reads: counts, array names, points, the water volume of
the cells and the speed on the example's inlet.

Usage: vtk_reader_check.py cases TELVA CASES_DIR
       vtk_reader_check.py value FILE ARRAY INDEX EXPECTED
Exits 77 (skipped) when python3-vtk9 is missing, unless CI is set.
"""
import os
import shutil
import subprocess
import sys
import tempfile

try:
    from vtkmodules.vtkIOLegacy import vtkPolyDataReader, vtkStructuredGridReader, vtkUnstructuredGridReader
    from vtkmodules.vtkCommonDataModel import vtkCellTypes  # noqa: F401  (the data model the readers fill)
    from vtkmodules.vtkFiltersVerdict import vtkCellSizeFilter
except ImportError:
    print("SKIPPED: python3-vtk9 is not installed (apt-get install python3-vtk9)")
    sys.exit(1 if os.environ.get("CI") else 77)

HEXAHEDRON = 12
OFFSET = (500000.37, 6600000.71)
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAILED:", what)


def read(name, structured):
    if structured == "poly":
        reader = vtkPolyDataReader()
    else:
        reader = vtkStructuredGridReader() if structured else vtkUnstructuredGridReader()
    reader.SetFileName(name)
    reader.ReadAllScalarsOn()
    reader.ReadAllVectorsOn()
    reader.Update()
    return reader.GetOutput()


def array_names(data):
    pd = data.GetPointData()
    return [pd.GetArrayName(k) for k in range(pd.GetNumberOfArrays())]


def koosurf_points(text):
    points = {}
    for line in text.splitlines():
        w = line.split()
        if len(w) >= 6:
            points[(int(w[0]), int(w[1]))] = tuple(float(v) for v in w[2:6])
    return points


def water_volume(points):
    """Plan area times mean corner depth over every column of the koosurf grid."""
    imax = max(i for i, _ in points)
    jmax = max(j for _, j in points)
    volume = 0.0
    for i in range(1, imax):
        for j in range(1, jmax):
            corners = [points[(i, j)], points[(i + 1, j)], points[(i + 1, j + 1)], points[(i, j + 1)]]
            area = 0.0
            for k in range(4):
                x1, y1 = corners[k][0], corners[k][1]
                x2, y2 = corners[(k + 1) % 4][0], corners[(k + 1) % 4][1]
                area += x1 * y2 - x2 * y1
            depth = sum(c[3] - c[2] for c in corners) / 4.0
            volume += abs(area) / 2.0 * depth
    return volume


def run(folder, control, koosurf, telva):
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "control"), "w") as f:
        f.write(control)
    with open(os.path.join(folder, "koosurf"), "w") as f:
        f.write(koosurf)
    status = subprocess.run([telva], cwd=folder).returncode
    check(status == 1, "%s: status %d" % (folder, status))


def tecplot_counts(name):
    with open(name) as f:
        for line in f:
            if line.startswith("ZONE"):
                n = int(line.split(" N=")[1].split(",")[0])
                e = int(line.split(",E=")[1].split(",")[0])
                return n, e
    return -1, -1


def points_of(data):
    return [data.GetPoint(k) for k in range(data.GetNumberOfPoints())]


def check_cases(telva, cases):
    with open(os.path.join(cases, "straight-channel", "control")) as f:
        control = f.read()
    with open(os.path.join(cases, "straight-channel", "koosurf")) as f:
        koosurf = f.read()
    grid = koosurf_points(koosurf)
    outputs = "F 329 1 1 1 0 1 1 1\nG 24 3 v 0 0 p 2 0 k 2 0\n"
    work = tempfile.mkdtemp(prefix="telva-vtk-")

    # The converged channel.
    flow = os.path.join(work, "flow")
    run(flow, control + outputs, koosurf, telva)
    plan = read(os.path.join(flow, "pav2_00000.vtk"), True)
    imax = max(i for i, _ in grid)
    jmax = max(j for _, j in grid)
    check(plan.GetDimensions() == (imax + 1, jmax + 1, 1), "plan dimensions %s" % (plan.GetDimensions(),))
    x, y, bed, _ = grid[(1, 1)]
    check(max(abs(a - b) for a, b in zip(plan.GetPoint(0), (x, y, bed))) < 1e-9, "plan first point %s" % (plan.GetPoint(0),))
    check(array_names(plan) == ["Water_level", "Pressure_2", "Turbulent_k_2", "Velocities"], "plan arrays %s" % array_names(plan))
    three = read(os.path.join(flow, "ParaView3U.vtk"), False)
    n, e = tecplot_counts(os.path.join(flow, "tecplfe.dat"))
    check(three.GetNumberOfPoints() == n and three.GetNumberOfCells() == e,
          "3D counts %d %d against %d %d" % (three.GetNumberOfPoints(), three.GetNumberOfCells(), n, e))
    check(all(three.GetCellType(k) == HEXAHEDRON for k in range(three.GetNumberOfCells())), "3D cell types")
    check(array_names(three) == ["Velocity", "Water_level", "Pressure", "Turbulent_k"], "3D arrays %s" % array_names(three))
    sizes = vtkCellSizeFilter()
    sizes.SetInputData(three)
    sizes.Update()
    volumes = sizes.GetOutput().GetCellData().GetArray("Volume")
    volume = sum(abs(volumes.GetValue(k)) for k in range(volumes.GetNumberOfTuples()))
    expected = water_volume(grid)
    check(abs(volume - expected) <= 1e-3 * expected, "3D volume %g against %g" % (volume, expected))
    velocity = three.GetPointData().GetArray("Velocity")
    check(max(velocity.GetTuple3(k)[0] for k in range(velocity.GetNumberOfTuples())) > 0.5, "3D velocities")

    # The layered bed of a multi-layer sediment run restarted from the
    # converged channel: five layers under each of the 250 columns.
    layered = os.path.join(work, "layered")
    os.makedirs(layered, exist_ok=True)
    shutil.copy(os.path.join(flow, "result.end"), os.path.join(layered, "result"))
    with open(os.path.join(cases, "sediment-erosion", "control.sediment")) as f:
        sediment = f.read()
    restart = "".join(line for line in control.splitlines(True) if not line.startswith("K 1 5000"))
    restart = restart.replace("F 2 YW\n", "F 2 YRS\n")
    run(layered, restart + sediment + "F 37 3\nF 134 5\nF 255 5\nF 106 0.05\nF 329 1 1 0 0 0 1\nF 449 0 -10\n",
        koosurf, telva)
    stack = read(os.path.join(layered, "ParaBed3D.vtk"), False)
    check(stack.GetNumberOfCells() == 1250, "layered bed cells %d" % stack.GetNumberOfCells())
    check(all(stack.GetCellType(k) == HEXAHEDRON for k in range(stack.GetNumberOfCells())), "layered bed cell types")

    # The same grid moved to real-world coordinates: double precision keeps
    # every point within 2e-6 m of the unmoved one plus the offset.
    letters = control.replace("F 2 YW", "F 2 YM")
    moved_koosurf = "".join(
        "%d %d %.6f %.6f %s\n" % (i, j, p[0] + OFFSET[0], p[1] + OFFSET[1], " ".join("%.6f" % v for v in p[2:]))
        for (i, j), p in sorted(grid.items()))
    still = os.path.join(work, "still")
    moved = os.path.join(work, "moved")
    run(still, letters + outputs, koosurf, telva)
    run(moved, letters + outputs, moved_koosurf, telva)
    for name, structured in (("pav2_00000.vtk", True), ("ParaView3U.vtk", False)):
        a = points_of(read(os.path.join(still, name), structured))
        b = points_of(read(os.path.join(moved, name), structured))
        check(len(a) == len(b) and len(a) > 0, "%s: %d and %d points" % (name, len(a), len(b)))
        worst = max((max(abs(q[0] - p[0] - OFFSET[0]), abs(q[1] - p[1] - OFFSET[1]), abs(q[2] - p[2]))
                     for p, q in zip(a, b)), default=1.0)
        check(worst <= 2e-6, "%s: moved points off by %g m" % (name, worst))

    # The interpolation points across the channel: the cross-section of P 18,
    # the speed curtain under the points and the bed-layer section.
    points = os.path.join(work, "points")
    os.makedirs(points, exist_ok=True)
    with open(os.path.join(points, "interpol"), "w") as f:
        f.write("Points across at 51 m\nM 51 1\nM 51 3\nM 51 5\nM 51 7\nM 51 9\n")
    run(points, control.replace("F 2 YW", "F 2 YWM") + "K 1 300 50000\nF 329 1 1 0 0 0 0 0 0 0 0 2 0 0 0 0 0 1\n"
        "F 48 12\nP 18 1 26\nG 24 2 v 0 0 k 0 0\n", koosurf, telva)
    cross = read(os.path.join(points, "ParaCross_1_26.vtk"), "poly")
    check(cross.GetNumberOfPoints() == 180 and cross.GetNumberOfPolys() == 45,
          "cross-section counts %d %d" % (cross.GetNumberOfPoints(), cross.GetNumberOfPolys()))
    bounds = cross.GetBounds()
    check(abs(bounds[0]) < 1e-9 and abs(bounds[1] - 10.0) < 1e-9, "cross-section from 0 to 10 m: %s" % (bounds,))
    cd = cross.GetCellData()
    names = [cd.GetArrayName(k) for k in range(cd.GetNumberOfArrays())]
    check(names == ["Velocity", "Water_level", "Turbulent_k"], "cross-section arrays %s" % names)
    curtain = read(os.path.join(points, "ParaView2c.vtk"), True)
    check(curtain.GetDimensions() == (12, 5, 1), "curtain dimensions %s" % (curtain.GetDimensions(),))
    check(abs(curtain.GetPoint(0)[2] - 1.0) < 1e-6 and abs(curtain.GetPoint(1)[2] - 0.944444) < 1e-6,
          "curtain levels %s %s" % (curtain.GetPoint(0), curtain.GetPoint(1)))
    check(array_names(curtain) == ["Velocities"], "curtain arrays %s" % array_names(curtain))
    bed = read(os.path.join(points, "ParaBed2D.vtk"), "poly")
    check(bed.GetNumberOfPolys() == 50, "bed section polygons %d" % bed.GetNumberOfPolys())

    # The example's plan file: the frame on the inlet, outlet and walls shows
    # the flow of the nearest columns (it once showed 0 on every border
    # point); at the inlet the speed is the discharge over the inlet area.
    with open(os.path.join(cases, "example", "control")) as f:
        example_control = f.read()
    with open(os.path.join(cases, "example", "koosurf")) as f:
        example_koosurf = f.read()
    example = os.path.join(work, "example")
    run(example, example_control, example_koosurf, telva)
    plan = read(os.path.join(example, "pav2_00000.vtk"), True)
    ni, nj, _ = plan.GetDimensions()
    speeds = plan.GetPointData().GetArray("Velocities")

    def speed(i, j):
        return sum(c * c for c in speeds.GetTuple3(i + ni * j)) ** 0.5

    inlet = sorted((p for (i, _), p in koosurf_points(example_koosurf).items() if i == 1), key=lambda p: p[1])
    area = sum((b[1] - a[1]) * 0.5 * ((a[3] - a[2]) + (b[3] - b[2])) for a, b in zip(inlet, inlet[1:]))
    discharge = float(example_control.split("F 237 1 ")[1].split()[0])
    for j in range(nj):
        check(abs(speed(0, j) - discharge / area) <= 0.02 * discharge / area,
              "example inlet point %d: %g m/s, not %g" % (j, speed(0, j), discharge / area))
    border = [(i, 0) for i in range(ni)] + [(i, nj - 1) for i in range(ni)] + [(ni - 1, j) for j in range(nj)]
    check(min(speed(i, j) for i, j in border) > 0.2, "example border speeds down to %g m/s" %
          min(speed(i, j) for i, j in border))

    # An empty list.
    empty = os.path.join(work, "empty")
    run(empty, letters + "F 329 1 1 1 0 1 1 1\n", koosurf, telva)
    check(array_names(read(os.path.join(empty, "pav2_00000.vtk"), True)) == ["Error", "Velocities"], "empty plan arrays")
    check(array_names(read(os.path.join(empty, "ParaView3U.vtk"), False)) == ["Velocity"], "empty 3D arrays")
    if not failures:
        shutil.rmtree(work, ignore_errors=True)


def check_value(name, array, index, expected):
    data = read(name, name.endswith(".vtk") and "DATASET STRUCTURED_GRID" in open(name).read())
    values = data.GetPointData().GetArray(array)
    check(values is not None, "no array %s" % array)
    if values is not None:
        got = values.GetValue(index)
        check(abs(got - expected) <= 1e-6 * abs(expected), "%s[%d] = %g, expected %g" % (array, index, got, expected))


if __name__ == "__main__":
    if len(sys.argv) == 4 and sys.argv[1] == "cases":
        check_cases(os.path.abspath(sys.argv[2]), sys.argv[3])
    elif len(sys.argv) == 6 and sys.argv[1] == "value":
        check_value(sys.argv[2], sys.argv[3], int(sys.argv[4]), float(sys.argv[5]))
    else:
        print(__doc__)
        sys.exit(2)
    sys.exit(1 if failures else 0)
