"""Reads every tidy file of a sweep folder with pandas, as a user would (no options), and
checks row counts and values against the runs' own data files. Exit status 0 when all agree."""
import pathlib
import sys

import pandas as pd

folder = pathlib.Path(sys.argv[1])
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


def data_lines(path):
    """The data lines of a statistics file: the lines after the rule under the heading."""
    lines = path.read_bytes().decode().split("\r\n")
    start = next(i for i, l in enumerate(lines) if l.startswith("-------")) + 1
    return [l.split() for l in lines[start:] if l.strip()]


tables = {name: pd.read_csv(folder / f"{name}.csv")
          for name in ["runs", "coverage", "growth_rates", "outcomes", "landscapes", "montecarlo"]}
runs = tables["runs"]
check(list(runs.columns) == ["run", "replicate", "seed", "OverGRate", "status", "exit_status", "seconds", "folder"],
      f"runs.csv columns {list(runs.columns)}")
check(list(runs["run"]) == [1, 2, 3, 4, 5], f"runs.csv runs {list(runs['run'])}")
check(list(runs["status"]) == ["done"] * 4 + ["failed"], "runs.csv status")

coverage = tables["coverage"]
for run, species in [(1, 5), (2, 4), (4, 4)]:
    source = data_lines(folder / f"run-{run:05d}" / "Cover.dat")
    rows = coverage[coverage["run"] == run]
    check(len(rows) == len(source) * species, f"coverage.csv rows of run {run}")
    for generation in (0, len(source) - 1):
        got = rows[rows["generation"] == generation].sort_values("species")
        check(list(got["cover"]) == [float(v) for v in source[generation][1:1 + species]],
              f"coverage.csv run {run} generation {generation}")
        check(set(got["species_left"]) == {int(source[generation][-1])}, f"species_left of run {run}")
check(5 not in set(coverage["run"]), "the failed run's files are not read")

growth = tables["growth_rates"]
source = data_lines(folder / "run-00002" / "GRate2.dat")
got = growth[(growth["run"] == 2) & (growth["kind"] == "genotype") & (growth["generation"] == 10)]
check(list(got.sort_values("species")["mean"]) == [float(v) for v in source[10][1:]], "growth_rates.csv genotype")
check(len(growth[growth["run"] == 1]) == 2 * 11 * 5, "growth_rates.csv rows of run 1")

outcomes = tables["outcomes"]
run2 = outcomes[(outcomes["run"] == 2) & (outcomes["kind"] == "normal")]
check(len(run2[run2["opponent"].isna()]) == 11 * 4, "outcomes.csv species rows")
check(len(run2[run2["opponent"].notna()]) == 16, "outcomes.csv pair rows (generation 1)")
line = data_lines(folder / "run-00002" / "Outcome1.dat")[1]  # generation 1
species1 = run2[(run2["generation"] == 1) & (run2["species"] == 1) & run2["opponent"].isna()]
check([species1.iloc[0][k] for k in ("win", "loss", "standoff")] == [float(v) for v in line[1:4]],
      "outcomes.csv species 1 at generation 1")

landscapes = tables["landscapes"]
source = data_lines(folder / "run-00004" / "Cover1.dat")
check(len(landscapes) == len(source) * 4, "landscapes.csv rows")
last = source[-1]
got = landscapes[(landscapes["generation"] == int(last[0])) & (landscapes["row"] == int(last[1]))
                 & (landscapes["column"] == int(last[2]))].sort_values("species")
check(list(got["cover"]) == [float(v) for v in last[3:7]], "landscapes.csv cover")
rates = data_lines(folder / "run-00004" / "GRate11.dat")[-1]
check(list(got["growth_rate_normal"]) == [float(v) for v in rates[3:7]], "landscapes.csv growth rates")
check(landscapes["win_genotype"].notna().all(), "landscapes.csv outcome columns filled")

montecarlo = tables["montecarlo"]
check(len(montecarlo) == 3 * 5, "montecarlo.csv rows")
text = (folder / "run-00003" / "mc.dat").read_bytes().decode().split("\r\n")
cover = text[text.index("Percentage coverage of each species at the end of each run.") + 3].split()
got = montecarlo[montecarlo["series_run"] == 1].sort_values("species")
check(list(got["end_cover"]) == [float(v) for v in cover[1:]], "montecarlo.csv end cover")
gone = text[text.index(" Run   Species gone to extinction") + 3].split()[1:]
for slot, entry in enumerate(gone, 1):
    species, time = map(int, entry.split("@"))
    row = got[got["species"] == species].iloc[0]
    check(row["extinction_order"] == slot and row["extinction_time"] == time, f"extinction of species {species}")
check(got["extinction_order"].isna().sum() == 5 - len(gone), "survivors have no extinction")

for f in failures:
    print("mismatch:", f)
sys.exit(1 if failures else 0)
