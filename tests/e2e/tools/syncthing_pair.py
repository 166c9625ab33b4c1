#!/usr/bin/python3
"""Configures the two Syncthing homes ST/A and ST/B made by `syncthing
generate`: each on its own free ports of 127.0.0.1, no discovery, relays or
NAT, redialling each second, the folder "wendle" at <home>/sync shared by both, rescanned every 2 s,
keeping conflict copies as a folder made in Syncthing's GUI does. Writes
ST/<home>.api: the REST address, the API key and the other device's ID.

syncthing_pair.py ST
"""
import socket, subprocess, sys, xml.etree.ElementTree as ET
st = sys.argv[1]
def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]
ids = {n: subprocess.check_output(["syncthing", f"--home={st}/{n}", "--device-id"], text=True).strip() for n in "AB"}
ports = {n: (free_port(), free_port()) for n in "AB"}
for n in "AB":
    path = f"{st}/{n}/config.xml"
    tree = ET.parse(path)
    root = tree.getroot()
    gui = root.find("gui")
    gui.find("address").text = f"127.0.0.1:{ports[n][1]}"
    gui.find("apikey").text = "key" + n
    options = root.find("options")
    for key, value in [("listenAddress", f"tcp://127.0.0.1:{ports[n][0]}"), ("globalAnnounceEnabled", "false"),
                       ("localAnnounceEnabled", "false"), ("relaysEnabled", "false"), ("natEnabled", "false"),
                       ("urAccepted", "-1"), ("crashReportingEnabled", "false"), ("startBrowser", "false"),
                       ("autoUpgradeIntervalH", "0"), ("reconnectionIntervalS", "1")]:
        element = options.find(key)
        if element is None:
            element = ET.SubElement(options, key)
        element.text = value
    for element in root.findall("device") + root.findall("folder"):
        root.remove(element)
    for m in "AB":
        device = ET.SubElement(root, "device", id=ids[m], name=m, compression="metadata", introducer="false")
        ET.SubElement(device, "address").text = f"tcp://127.0.0.1:{ports[m][0]}" if m != n else "dynamic"
    folder = ET.SubElement(root, "folder", id="wendle", label="wendle", path=f"{st}/{n}/sync", type="sendreceive",
                           rescanIntervalS="2", fsWatcherEnabled="true", fsWatcherDelayS="1")
    for m in "AB":
        ET.SubElement(folder, "device", id=ids[m])
    ET.SubElement(folder, "maxConflicts").text = "10"
    tree.write(path)
    with open(f"{st}/{n}.api", "w") as out:
        out.write(f"http://127.0.0.1:{ports[n][1]} key{n} {ids['B' if n == 'A' else 'A']}\n")
