#!/usr/bin/env python3
"""cvdesigner --check --output-format=sarif, run as the built program on forms with problems and
with warnings: the log meets the key rules of the SARIF 2.1.0 schema, says what the text output
says (one result per line, same file, place, message, error or warning), at the places worked out
by hand, and names each file by a URI that gives its path back.

Usage: check_sarif.py DESIGNER SCHEMA"""
import json
import os
import subprocess
import sys
import tempfile
import urllib.parse

import jsonschema

designer, schema_path = sys.argv[1], sys.argv[2]
failures = []


def expect(ok, what):
    if not ok:
        failures.append(what)


def run(cwd, *arguments):
    environment = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
    done = subprocess.run([designer, *arguments], cwd=cwd, env=environment, capture_output=True, timeout=60)
    return done.returncode, done.stdout.decode(), done.stderr.decode()


BAD = ('{"format": "cvform", "version": 1, "components": [\n'
       '  {"class": "TPalmoTrackbar", "name": "T", "properties": {"Max": "x"}},\n'
       '  {"class": "TPalmoDial", "name": "D"}\n]}\n')
# Dim: Gray text on White (3.94:1), at White, the first of the two written; Plain: the default
# White text on DodgerBlue, at DodgerBlue; Pop: an Ivory title on the default Ivory. Sw: SeaGreen
# against Tomato, luminances 0.197 and 0.306, so 1.44:1 without colour, and alike to protanopia.
POOR = ('{"format": "cvform", "version": 1, "components": [\n'
        '  {"class": "TPalmoButton", "name": "Dim", "properties": {\n'
        '    "Appearance.Color": "White",\n'
        '    "Appearance.PressedColor": "Black",\n'
        '    "Appearance.TextColor": "Gray"}},\n'
        '  {"class": "TPalmoButton", "name": "Plain", "properties": {"Appearance.Color": "DodgerBlue"}},\n'
        '  {"class": "TPalmoPopup", "name": "Pop", "properties": {"Appearance.TitleColor": "Ivory"}}\n'
        ']}\n')
SWITCH = ('{"format": "cvform", "version": 1, "components": [\n'
          '  {"class": "TPalmoOnOffButton", "name": "Sw", "properties": {\n'
          '    "Appearance.OnColor": "SeaGreen",\n'
          '    "Appearance.OffColor": "Tomato"}}\n]}\n')

with open(schema_path) as f:
    schema = json.load(f)
jsonschema.Draft7Validator.check_schema(schema)
validator = jsonschema.Draft7Validator(schema, format_checker=jsonschema.FormatChecker())

with tempfile.TemporaryDirectory() as work:
    # A relative name with the characters a URI reference must escape, and an absolute path.
    bad, poor = "bad.cvform", "poor: #1.cvform"
    switch = os.path.join(work, "sub dir", "switch.cvform")
    os.makedirs(os.path.dirname(switch))
    for name, text in ((bad, BAD), (poor, POOR), (switch, SWITCH)):
        with open(os.path.join(work, name), "w") as f:
            f.write(text)
    files = [bad, poor, switch]

    status, out, err = run(work, "--check", "--contrast", "--output-format=sarif", *files)
    expect(status == 1, f"exit status {status}, not 1 (bad.cvform does not open): {err}")
    log = json.loads(out)
    for error in validator.iter_errors(log):
        failures.append(f"schema: {error.message} at {'/'.join(map(str, error.absolute_path))}")

    text_status, text_out, _ = run(work, "--check", "--contrast", *files)
    expect(text_status == status, f"text output exits {text_status}, SARIF {status}")
    lines = text_out.splitlines()

    run0 = log["runs"][0]
    driver = run0["tool"]["driver"]
    expect(driver["name"] == "cvdesigner", f"driver name {driver['name']}")
    version = run(work, "--version")[1].split()[-1]
    expect(driver.get("version") == version, f"driver version {driver.get('version')}, not {version}")
    rules = driver["rules"]
    levels = {rule["id"]: rule["defaultConfiguration"]["level"] for rule in rules}
    expect(len(levels) == len(rules), "rule ids repeat")
    expect(run0.get("columnKind") == "unicodeCodePoints", "columns are counted in characters")

    def path_of(uri):
        parsed = urllib.parse.urlsplit(uri)
        if parsed.scheme == "file":
            return urllib.parse.unquote(parsed.path)
        expect(parsed.scheme == "" and parsed.fragment == "" and parsed.query == "", f"{uri} is not a plain relative reference")
        return urllib.parse.unquote(uri)

    results = run0["results"]
    expect(len(results) == len(lines), f"{len(results)} results for {len(lines)} lines of text")
    found = []
    for result, line in zip(results, lines):
        location = result["locations"][0]["physicalLocation"]
        file = path_of(location["artifactLocation"]["uri"])
        row, column = location["region"]["startLine"], location["region"]["startColumn"]
        warning = result["level"] == "warning"
        expect(rules[result["ruleIndex"]]["id"] == result["ruleId"], f"ruleIndex of {result['ruleId']}")
        expect(levels[result["ruleId"]] == result["level"], f"{result['ruleId']} at level {result['level']}")
        said = f"{file}:{row}:{column}: {'warning: ' if warning else ''}{result['message']['text']}"
        expect(said == line, f"SARIF says '{said}', the text '{line}'")
        found.append((file, row, column, result["level"]))

    # Worked out by hand from the forms above.
    expected = [(bad, 2, 66, "error"), (bad, 3, 13, "error"),
                (poor, 3, 25, "warning"), (poor, 6, 81, "warning"), (poor, 7, 83, "warning"),
                (switch, 3, 27, "warning"), (switch, 3, 27, "warning")]
    expect(found == expected, f"results at {found}, not {expected}")
    expect({r["ruleId"] for r in results if r["level"] == "warning"} == {"text-contrast", "state-colours", "without-colour"},
           "text contrast, state colours and without colour are three rules")

    status, out, _ = run(work, "--check", "--output-format=sarif", switch)
    expect(status == 0, f"a form without problems exits {status}")
    clean = json.loads(out)
    expect(not list(validator.iter_errors(clean)) and clean["runs"][0]["results"] == [], "a clean form: a valid log without results")

for failure in failures:
    print("FAILED:", failure)
sys.exit(1 if failures else 0)
