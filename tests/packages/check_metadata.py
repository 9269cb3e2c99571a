#!/usr/bin/env python3
"""The three language packages say the same things about themselves as
cmake/PackageMetadata.cmake and the public header do: version, description, authors,
licence and addresses, each in the places its format has for them; and each carries the
licence file and a README that names the repository.

Usage: check_metadata.py --version X.Y.Z --summary TEXT --authors NAME --license NAME
                         --license-url URL --homepage URL --repository URL --license-file LICENSE
                         --pom java/pom.xml --pyproject python/pyproject.toml
                         [--wheels DIR] [--nupkgs DIR] [--jar FILE]
"""
import argparse
import glob
import os
import sys
import tomllib
import xml.etree.ElementTree as ElementTree
import zipfile

POM = "{http://maven.apache.org/POM/4.0.0}"


class Checker:
    def __init__(self, args):
        self.args = args
        with open(args.license_file, "rb") as file:
            self.license = file.read()
        self.problems = []

    def same(self, place, found, wanted):
        print(f"{place}: {found}")
        if found != wanted:
            self.problems.append(f"{place} is {found!r}, not {wanted!r}")

    def holds(self, place, text, wanted):
        if wanted not in text:
            self.problems.append(f"{place} does not mention {wanted}")

    def summary(self, language):
        return self.args.summary.replace("LANGUAGE", language)

    def pom(self, path, name):
        root = ElementTree.parse(path).getroot()
        read = lambda path: root.findtext("/".join(POM + tag for tag in path.split("/")))  # noqa
        self.same(f"{name} version", read("version"), self.args.version)
        self.same(f"{name} description", read("description"), self.summary("Java"))
        self.same(f"{name} url", read("url"), self.args.homepage)
        self.same(f"{name} licence", read("licenses/license/name"), self.args.license)
        self.same(f"{name} licence url", read("licenses/license/url"), self.args.license_url)
        self.same(f"{name} scm url", read("scm/url"), self.args.repository)
        self.same(f"{name} developer", read("developers/developer/name"), self.args.authors)

    def pyproject(self, path):
        with open(path, "rb") as file:
            project = tomllib.load(file)["project"]
        self.same("pyproject.toml description", project["description"], self.summary("Python"))
        self.same("pyproject.toml licence", project["license"].get("text"), self.args.license)
        self.same("pyproject.toml authors", [a["name"] for a in project["authors"]],
                  [self.args.authors])
        self.same("pyproject.toml Homepage", project["urls"].get("Homepage"), self.args.homepage)
        self.same("pyproject.toml Repository", project["urls"].get("Repository"),
                  self.args.repository)

    def wheel(self, folder):
        wheels = glob.glob(os.path.join(folder, "quorvex-*.whl"))
        if len(wheels) != 1:
            self.problems.append(f"expected one wheel in {folder}, found {wheels}")
            return
        with zipfile.ZipFile(wheels[0]) as wheel:
            info = f"quorvex-{self.args.version}.dist-info"
            text = wheel.read(f"{info}/METADATA").decode("utf-8")
            header, _, description = text.partition("\n\n")
            fields = {}
            for line in header.splitlines():
                key, _, value = line.partition(": ")
                fields.setdefault(key, []).append(value)
            one = lambda key: fields.get(key, [None])[0]  # noqa: E731
            self.same("wheel Version", one("Version"), self.args.version)
            self.same("wheel Summary", one("Summary"), self.summary("Python"))
            self.same("wheel Author", one("Author"), self.args.authors)
            self.same("wheel License", one("License"), self.args.license)
            self.same("wheel Home-page", one("Home-page"), self.args.homepage)
            self.same("wheel Project-URL", sorted(fields.get("Project-URL", [])),
                      [f"Homepage, {self.args.homepage}", f"Repository, {self.args.repository}"])
            self.same("wheel License-File", one("License-File"), "LICENSE")
            self.same("wheel licence file", wheel.read(f"{info}/LICENSE") == self.license, True)
            self.holds("the wheel's description (python/README.md)", description,
                       self.args.repository)

    def nupkg(self, folder):
        for path in glob.glob(os.path.join(folder, "Quorvex.*.nupkg")):
            with zipfile.ZipFile(path) as package:
                root = ElementTree.fromstring(package.read("Quorvex.nuspec"))
                space = root.tag[:root.tag.index("}") + 1]
                read = lambda tag: root.findtext(f"{space}metadata/{space}{tag}")  # noqa: E731
                self.same("nuspec version", read("version"), self.args.version)
                self.same("nuspec summary", read("summary"), self.summary(".NET"))
                self.same("nuspec authors", read("authors"), self.args.authors)
                self.same("nuspec licenseUrl", read("licenseUrl"), self.args.license_url)
                self.same("nuspec projectUrl", read("projectUrl"), self.args.homepage)
                self.same("nuspec requireLicenseAcceptance", read("requireLicenseAcceptance"),
                          "true")
                self.holds("nuspec description", read("description"), self.args.repository)
                self.holds("nuspec description", read("description"), self.args.license)
                self.same("nupkg LICENSE", package.read("LICENSE") == self.license, True)
                self.holds("nupkg README.md", package.read("README.md").decode("utf-8"),
                           self.args.repository)

    def jar(self, path):
        with zipfile.ZipFile(path) as jar:
            manifest = jar.read("META-INF/MANIFEST.MF").decode("utf-8")
            self.holds("jar manifest", manifest, f"Implementation-Version: {self.args.version}")
            self.holds("jar manifest", manifest, f"Implementation-Vendor: {self.args.authors}")
            self.same("jar META-INF/LICENSE", jar.read("META-INF/LICENSE") == self.license, True)
            with open(self.args.pom, "rb") as file:
                self.same("jar pom.xml", jar.read("META-INF/maven/org.quorvex/quorvex/pom.xml")
                          == file.read(), True)
            properties = jar.read("META-INF/maven/org.quorvex/quorvex/pom.properties").decode()
            self.holds("jar pom.properties", properties, f"version={self.args.version}")


def main():
    parser = argparse.ArgumentParser()
    for option in ("version", "summary", "authors", "license", "license-url", "homepage",
                   "repository", "license-file", "pom", "pyproject"):
        parser.add_argument(f"--{option}", required=True)
    parser.add_argument("--wheels")
    parser.add_argument("--nupkgs")
    parser.add_argument("--jar")
    args = parser.parse_args()
    checker = Checker(args)
    checker.pom(args.pom, "pom.xml")
    checker.pyproject(args.pyproject)
    readme = os.path.join(os.path.dirname(os.path.abspath(args.pom)), "README.md")
    with open(readme, encoding="utf-8") as file:
        checker.holds("java/README.md", file.read(), args.repository)
    if args.wheels:
        checker.wheel(args.wheels)
    if args.nupkgs:
        checker.nupkg(args.nupkgs)
    if args.jar:
        checker.jar(args.jar)
    for problem in checker.problems:
        print(f"FAILED: {problem}")
    return 1 if checker.problems else 0


if __name__ == "__main__":
    sys.exit(main())
