#!/usr/bin/env python3
"""HTTP server for the download tests, on 127.0.0.1 and a free port.

Prints "PORT <n>" once it listens. With --root DIR it also serves the files of DIR under /files/ (404 for
any other name there). With --tls DIR it makes a self-signed
certificate for 127.0.0.1 in DIR (cert.pem, key.pem) with the openssl tool
and serves HTTPS instead; its redirects then name https addresses.
"""
import argparse
import base64
import http.server
import os
import ssl
import subprocess
import time

# A body several blocks long, so that a copy takes more than one read.
INDEX_BODY = b"".join(b"%04d RFC index line for the download tests\n" % n for n in range(600))
LAST_MODIFIED = "Tue, 15 Nov 1994 08:12:31 GMT"  # 784887151 seconds after 1970
CREDENTIALS = "Basic " + base64.b64encode(b"reader:secret").decode()
SLOW_LENGTH = 32 * 1024 * 1024
SLOW_BLOCK = 16 * 1024

# Path: (status, Location or None); "{origin}" becomes this server's address.
REDIRECTS = {
    "/redirect/301/rfc-index.txt": (301, "{origin}/rfc-index.txt"),
    "/redirect/302/rfc-index.txt": (302, "{origin}/rfc-index.txt"),
    "/redirect/303/rfc-index.txt": (303, "{origin}/rfc-index.txt"),
    "/relative/rfc-index.txt": (302, "/rfc-index.txt"),
    "/twohops/rfc-index.txt": (302, "{origin}/redirect/301/rfc-index.txt"),
    "/toftp/rfc-index.txt": (302, "ftp://127.0.0.1:21/rfc-index.txt"),
    "/nolocation/rfc-index.txt": (302, None),
    "/tomissing/rfc-index.txt": (303, "{origin}/missing.txt"),
}


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def answer(self, status, body=b"", headers=(), length=len):
        """Sends a whole response; length=None closes the connection instead of
        announcing a length, a number announces that one."""
        self.send_response(status)
        for name, value in headers:
            self.send_header(name, value)
        if length is None:
            self.send_header("Connection", "close")
            self.close_connection = True
        else:
            self.send_header("Content-Length", str(length(body) if callable(length) else length))
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        path = self.path
        if path in REDIRECTS:
            status, location = REDIRECTS[path]
            scheme = "https" if self.server.tls else "http"
            origin = "%s://127.0.0.1:%d" % (scheme, self.server.server_address[1])
            headers = [("Location", location.format(origin=origin))] if location else []
            self.answer(status, b"<html>moved</html>", headers)
        elif path.startswith("/files/") and self.server.root:
            self.serve_file(path[len("/files/"):])
        elif path == "/rfc-index.txt":
            self.answer(200, INDEX_BODY, [("Last-Modified", LAST_MODIFIED)])
        elif path == "/nolength/rfc-index.txt":
            self.answer(200, INDEX_BODY, length=None)
        elif path == "/empty/rfc-index.txt":
            self.answer(200)
        elif path == "/listing/":
            self.answer(200, b"<html>a folder listing</html>")
        elif path == "/headers/echo.txt":
            self.answer(200, str(self.headers).encode())
        elif path == "/private/rfc-index.txt" and self.headers.get("Authorization") == CREDENTIALS:
            self.answer(200, INDEX_BODY)
        elif path == "/private/rfc-index.txt":
            self.answer(401, b"<html>who are you?</html>", [("WWW-Authenticate", 'Basic realm="rfc"')])
        elif path == "/excess/rfc-index.txt":
            self.answer(200, b"0123456789 and twenty more bytes", [("Connection", "close")], length=10)
            self.close_connection = True
        elif path == "/slow/large.bin":
            self.slow_body()
        else:
            self.answer(404, b"<html>not found</html>")

    def serve_file(self, name):
        local = os.path.join(self.server.root, name)
        if "/" in name or name.startswith(".") or not os.path.isfile(local):
            self.answer(404, b"<html>not found</html>")
            return
        with open(local, "rb") as source:
            self.answer(200, source.read())

    def slow_body(self):
        self.send_response(200)
        self.send_header("Content-Length", str(SLOW_LENGTH))
        self.end_headers()
        self.close_connection = True
        try:
            for _ in range(SLOW_LENGTH // SLOW_BLOCK):
                self.wfile.write(b"x" * SLOW_BLOCK)
                self.wfile.flush()
                time.sleep(0.01)
        except OSError:
            pass


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--tls", metavar="DIR")
    parser.add_argument("--root", metavar="DIR")
    options = parser.parse_args()
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    server.tls = options.tls is not None
    server.root = options.root
    if server.tls:
        cert, key = os.path.join(options.tls, "cert.pem"), os.path.join(options.tls, "key.pem")
        subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", cert,
                        "-days", "1", "-subj", "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1"],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(cert, key)
        server.socket = context.wrap_socket(server.socket, server_side=True)
    print("PORT %d" % server.server_address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
