"""The build step pyproject.toml cannot state: the files of the project's resources/ folder
(the report page and the snapshot procedure, which quorvex-run embeds) copied beside the
package's modules, where a wheel has them, so that a package installed from the sources
(pip install ./python) has them too. The tree keeps one copy of each."""
import os
import shutil

from setuptools import setup
from setuptools.command.build_py import build_py

RESOURCES = os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, "resources")


class BuildWithResources(build_py):
    def run(self) -> None:
        super().run()
        if not os.path.isdir(RESOURCES):
            raise RuntimeError(f"{os.path.normpath(RESOURCES)} is missing: the package is "
                               "built from the project's tree, whose resources/ it ships")
        target = os.path.join(self.build_lib, "quorvex")
        for name in sorted(os.listdir(RESOURCES)):
            shutil.copyfile(os.path.join(RESOURCES, name), os.path.join(target, name))


setup(cmdclass={"build_py": BuildWithResources})
