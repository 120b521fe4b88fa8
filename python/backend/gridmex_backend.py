"""The package's build backend (PEP 517): CMake builds the plug-ins and the
extension; `cmake --install` of the components `own` and `python` into
gridmex/ lays out the package, which is packed as a wheel.  It needs only
the standard library, CMake and a C++ compiler, and pybind11 and NumPy for
the extension.  GRIDMEX_BUILD_DIR names the build folder (default
build-python/ in the source tree, kept between builds); GRIDMEX_BUILD_JOBS
the parallel jobs (default 2).  The sdist holds the files git tracks."""
import base64
import hashlib
import io
import os
import shutil
import subprocess
import sys
import sysconfig
import tarfile
import tempfile
import zipfile

NAME, VERSION = "gridmex", "1.0.0"
SOURCE = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))


def _tag():
    python = f"cp{sys.version_info.major}{sys.version_info.minor}"
    return f"{python}-{python}-{sysconfig.get_platform().replace('-', '_').replace('.', '_')}"


def _metadata():
    return (f"Metadata-Version: 2.1\nName: {NAME}\nVersion: {VERSION}\n"
            "Summary: Plug-ins for image-based finite-element mechanics, with the numbers MATLAB and Octave give\n"
            "License: BSD-3-Clause\nRequires-Python: >=3.8\nRequires-Dist: numpy\n")


def _build(stage):
    """Builds with CMake and installs the package into stage/gridmex."""
    build = os.environ.get("GRIDMEX_BUILD_DIR", os.path.join(SOURCE, "build-python"))
    jobs = os.environ.get("GRIDMEX_BUILD_JOBS", "2")
    run = lambda *args: subprocess.run(["cmake", *args], check=True, stdout=sys.stderr)  # noqa: E731
    options = []
    try:  # pybind11 from a package index (an isolated build) tells CMake where it is
        import pybind11
        options.append(f"-Dpybind11_DIR={pybind11.get_cmake_dir()}")
    except ImportError:
        pass
    run("-S", SOURCE, "-B", build, "-DCMAKE_BUILD_TYPE=Release", "-DBUILD_TESTING=OFF",
        "-DGRIDMEX_WITH_OCTAVE=OFF", f"-DPython3_EXECUTABLE={sys.executable}", *options)
    run("--build", build, "-j", jobs, "--config", "Release", "--target", "gridmex_python")
    for component in ("own", "python"):
        run("--install", build, "--config", "Release", "--prefix", os.path.join(stage, NAME), "--component", component)
    if not os.path.exists(os.path.join(stage, NAME, "__init__.py")):
        raise RuntimeError(f"CMake did not build the Python package for {sys.executable}: "
                           "it needs Python's development files, NumPy and pybind11")


def _record_line(path, data):
    digest = base64.urlsafe_b64encode(hashlib.sha256(data).digest()).rstrip(b"=").decode()
    return f"{path},sha256={digest},{len(data)}"


def get_requires_for_build_wheel(config_settings=None):
    return []


def prepare_metadata_for_build_wheel(metadata_directory, config_settings=None):
    info = os.path.join(metadata_directory, f"{NAME}-{VERSION}.dist-info")
    os.makedirs(info, exist_ok=True)
    with open(os.path.join(info, "METADATA"), "w", encoding="utf-8") as f:
        f.write(_metadata())
    return os.path.basename(info)


def pack(stage, wheel_directory, tag):
    """Zips the package laid out in stage/gridmex into a wheel of the given
    tag in wheel_directory, with its metadata and RECORD; returns its name.
    scripts/wheels packs its manylinux builds here too."""
    info = f"{NAME}-{VERSION}.dist-info"
    wheel = f"{NAME}-{VERSION}-{tag}.whl"
    files = {}
    for folder, _, names in sorted(os.walk(os.path.join(stage, NAME))):
        for name in sorted(names):
            path = os.path.join(folder, name)
            with open(path, "rb") as f:
                files[os.path.relpath(path, stage).replace(os.sep, "/")] = f.read()
    files[f"{info}/METADATA"] = _metadata().encode()
    files[f"{info}/WHEEL"] = (f"Wheel-Version: 1.0\nGenerator: {NAME}_backend\nRoot-Is-Purelib: false\n"
                              f"Tag: {tag}\n").encode()
    record = [_record_line(path, data) for path, data in files.items()] + [f"{info}/RECORD,,"]
    files[f"{info}/RECORD"] = ("\n".join(record) + "\n").encode()
    with zipfile.ZipFile(os.path.join(wheel_directory, wheel), "w", zipfile.ZIP_DEFLATED) as z:
        for path, data in files.items():
            entry = zipfile.ZipInfo(path, (2020, 1, 1, 0, 0, 0))
            entry.external_attr = (0o755 if path.endswith((".so", ".dylib")) else 0o644) << 16
            z.writestr(entry, data, zipfile.ZIP_DEFLATED)
    return wheel


def build_wheel(wheel_directory, config_settings=None, metadata_directory=None):
    stage = tempfile.mkdtemp(prefix="gridmex-wheel-")
    try:
        _build(stage)
        return pack(stage, wheel_directory, _tag())
    finally:
        shutil.rmtree(stage)


def get_requires_for_build_sdist(config_settings=None):
    return []


def build_sdist(sdist_directory, config_settings=None):
    """The files git tracks, under gridmex-VERSION/, with PKG-INFO."""
    tracked = subprocess.run(["git", "ls-files", "-z"], cwd=SOURCE, check=True, capture_output=True).stdout
    top = f"{NAME}-{VERSION}"
    sdist = f"{top}.tar.gz"
    with tarfile.open(os.path.join(sdist_directory, sdist), "w:gz", format=tarfile.PAX_FORMAT) as tar:
        for path in sorted(p for p in tracked.decode().split("\0") if p):
            if os.path.isfile(os.path.join(SOURCE, path)):
                tar.add(os.path.join(SOURCE, path), f"{top}/{path}", recursive=False)
        info = tarfile.TarInfo(f"{top}/PKG-INFO")
        data = _metadata().encode()
        info.size, info.mode = len(data), 0o644
        tar.addfile(info, io.BytesIO(data))
    return sdist
