"""The speed plots of the site, drawn from the benchmark's CSV files
(bench/results/, format in bench/README.md): the samplers against
cv::remap and scipy.ndimage.map_coordinates on 1 and 2 threads, and the
element classes against double.  Each plot names the machine, date and
commit of its run."""
import csv
import os
import re

import matplotlib

from reference_pages import ESCAPED

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402

PEERS = (("remap", "cv::remap", "cv::remap (OpenCV), linear or cubic as the plug-in"),
         ("scipy", "map_coordinates", "scipy.ndimage.map_coordinates of the same order"))


def read_run(path):
    """(comments as {key: value}, rows as dicts) of one results file."""
    meta, lines = {}, []
    with open(path, encoding="utf-8") as f:
        for line in f:
            comment = re.match(r"^# ([a-z ]+): (.*)$", line)
            if comment:
                meta.setdefault(comment.group(1), comment.group(2).strip())
            elif not line.startswith("#"):
                lines.append(line)
    return meta, list(csv.DictReader(lines))


def runs(listing):
    """[(file name, caption)] from the list of runs to plot."""
    result = []
    with open(listing, encoding="utf-8") as f:
        for line in f:
            if line.strip() and not line.startswith("#"):
                name, caption = line.split(None, 1)
                result.append((name, caption.strip()))
    return result


def run_line(meta):
    load = meta.get("load at start", "not given").split(" (")[0]
    return (f"{meta.get('cpu', 'machine not given').split(' (')[0]}, {meta.get('cores', '?').split(' (')[0]} "
            f"cores, {meta.get('date', 'date not given')}, commit {meta.get('commit') or 'not given'}, "
            f"load at start {load}")


def number(text):
    return float(text) if text not in (None, "") else float("nan")


def peer_plot(rows, peer, path, title, subtitle):
    """Horizontal bars: the plug-in's rate over the peer's, 1 and 2 threads,
    for each own-host sampler row compared with that peer.  False when the
    run has no such row."""
    chosen = [r for r in rows if r["family"] == "compiled" and "," not in r["workload"]
              and r["peer_label"].startswith(peer) and r["x_1t"]]
    if not chosen:
        return False
    labels = [r["workload"] for r in chosen]
    fig, ax = plt.subplots(figsize=(8, 0.42 * len(chosen) + 1.9))
    ys = range(len(chosen))
    for offset, column, label in ((-0.2, "x_1t", "1 thread"), (0.2, "x_2t", "2 threads")):
        ax.barh([y + offset for y in ys], [number(r[column]) for r in chosen], height=0.38, label=label)
    ax.axvline(1.0, color="black", linewidth=1)
    ax.set_yticks(list(ys), labels)
    ax.invert_yaxis()
    ax.set_xlabel("plug-in points per second over the peer's (1 = as fast)")
    ax.set_title(title + "\n" + subtitle, fontsize=9)
    ax.legend(loc="lower right", fontsize=8)
    fig.tight_layout()
    fig.savefig(path, dpi=100)
    plt.close(fig)
    return True


def classes_plot(rows, path, title, subtitle):
    """A table in colour: each class's rate over double's, one thread, per
    plug-in and point set.  False when the run has no class rows."""
    chosen = [r for r in rows if r["family"] == "classes" and r["peer_label"] == "the double row above"]
    if not chosen:
        return False
    workloads, classes, ratio = [], [], {}
    for r in chosen:
        workload, cls = r["workload"].rsplit(" ", 1)
        workloads += [workload] if workload not in workloads else []
        classes += [cls] if cls not in classes else []
        ratio[workload, cls] = number(r["x_1t"])
    grid = [[ratio.get((w, c), float("nan")) for c in classes] for w in workloads]
    fig, ax = plt.subplots(figsize=(8, 0.36 * len(workloads) + 2.1))
    image = ax.imshow(grid, cmap="RdBu", vmin=0.5, vmax=1.5, aspect="auto")
    for i, line in enumerate(grid):
        for j, value in enumerate(line):
            if value == value:
                ax.text(j, i, f"{value:.2f}", ha="center", va="center", fontsize=7,
                        color="white" if abs(value - 1) > 0.3 else "black")
    ax.set_xticks(range(len(classes)), classes)
    ax.set_yticks(range(len(workloads)), workloads)
    ax.set_title(title + "\n" + subtitle, fontsize=9)
    fig.colorbar(image, ax=ax, label="rate over double's (1 = as fast)")
    fig.tight_layout()
    fig.savefig(path, dpi=100)
    plt.close(fig)
    return True


def draw(results, listing, folder):
    """Draws the plots of every listed run into folder; returns the
    Markdown that shows them (image paths relative to folder's parent)."""
    os.makedirs(folder, exist_ok=True)
    out = []
    for name, caption in runs(listing):
        meta, rows = read_run(os.path.join(results, name))
        subtitle = f"bench/results/{name}\n{run_line(meta)}"
        stem = name[:-len(".csv")]
        shown = []
        for key, peer, what in PEERS:
            png = f"{stem}-{key}.png"
            if peer_plot(rows, peer, os.path.join(folder, png), f"Samplers, own host, over {what}", subtitle):
                shown.append((png, f"The samplers over {what}"))
        png = f"{stem}-classes.png"
        if classes_plot(rows, os.path.join(folder, png), "Element classes over double, one thread", subtitle):
            shown.append((png, "Each element class over double"))
        if not shown:
            raise SystemExit(f"{name}: no rows to plot (compiled peers or element classes)")
        out += [f"## {meta.get('date', name)}: {caption}", "", f"`bench/results/{name}`: {run_line(meta)}.", ""]
        for source in (meta.get("source"), meta.get("note")):
            if source:
                out += ["The file says: " + ESCAPED.sub(r"\\\1", source) + ".", ""]
        for png, alt in shown:
            out += [f"![{alt}, {run_line(meta)}]({os.path.basename(folder)}/{png})", ""]
    return "\n".join(out)
