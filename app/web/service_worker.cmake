# SPDX-License-Identifier: GPL-3.0-or-later
# Writes the site's service worker with the list of its files and their joint digest:
# cmake -D site=DIR -D files=NAME;... -D template=sw.js.in -P service_worker.cmake
set(listed "'./'")
set(contents "")
foreach(file IN LISTS files)
    file(SHA256 ${site}/${file} hash)
    string(APPEND contents "${file} ${hash}\n")
    string(APPEND listed ", '${file}'")
endforeach()
string(SHA256 digest "${contents}")
string(SUBSTRING ${digest} 0 16 digest)
configure_file(${template} ${site}/sw.js @ONLY)
