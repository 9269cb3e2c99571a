# What the three language packages say about themselves besides the version (which the public
# header states): authors, licence and addresses. The NuGet package and the wheel are written
# from these values; java/pom.xml and python/pyproject.toml, which users build from as they
# are, repeat them, and the test package_metadata_agrees holds all of them to these.
#
# The project has no public address yet: the addresses are under the reserved .example domain
# until it has one, and change here (and in the two files above) when it does.
set(QUORVEX_PACKAGE_AUTHORS "quorvex developers")
set(QUORVEX_PACKAGE_COPYRIGHT "Copyright (c) 2026 quorvex developers")
set(QUORVEX_LICENSE_NAME "Proprietary")
set(QUORVEX_LICENSE_FILE "${PROJECT_SOURCE_DIR}/LICENSE")
set(QUORVEX_HOMEPAGE_URL "https://quorvex.example/")
set(QUORVEX_REPOSITORY_URL "https://quorvex.example/git/quorvex.git")
set(QUORVEX_LICENSE_URL "https://quorvex.example/LICENSE")
# Each package's description: this, with the language's name in place of LANGUAGE.
set(QUORVEX_PACKAGE_SUMMARY "HDevelop 11.0 programs and procedures from LANGUAGE through the quorvex32-11.0 library")
