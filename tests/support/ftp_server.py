# An FTP server (pyftpdlib) on 127.0.0.1 for the upload tests, well behaved or
# with one fault. It binds port 0, writes the port it got into the file named
# by its last argument once it listens, then serves.
#
#   ftp_server.py ROOT USER PASSWORD MODE PORT_FILE
#
# MODE is a fault or several joined by "+", each a name, optionally "=" and
# numbers separated by ",":
#   keep                     a well-behaved server
#   drop                     hangs up on the client once the first bytes of an upload arrived
#   cut=BYTES                keeps the first BYTES (1000 by default) of an upload, closes the data
#                            connection, answers 226
#   stall                    lets the user in, then never answers an upload's STOR
#   slow=RATE                takes an upload's bytes at RATE bytes a second (100 KB by default),
#                            answering only once it has them all
#   stop-reading=BYTES       stops reading an upload after BYTES (100 KB by default) and never answers
#   no-final-answer          takes every byte of an upload, keeps the file and never answers
#   endless-cwd=SECONDS,N    answers CWD with a multi-line reply, one more line every SECONDS
#                            (5 by default), ending it after N lines (0, the default: never)
#   start-in-pwd=SECONDS     puts a "150" line inside its PWD reply, which it never ends, then
#                            holds every later command for SECONDS (0, the default: for ever)
#   login-202                answers a right password with 202 (already logged in) instead of 230
#   login-at-user            lets the user in at USER with 230, asking no password
#   no-size=CODE             refuses SIZE with CODE (550 by default), as an account that may store
#                            but not list or read
#   rcvbuf=BYTES             gives each data connection a receive buffer of BYTES, so the system
#                            takes in (acknowledges) that much before the server reads it
#
# Every STOR the server is asked for is noted, one line each, in ROOT.stors.
import logging
import math
import os
import socket
import sys
import threading
import time

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import DTPHandler, FTPHandler, PassiveDTP, ThrottledDTPHandler
from pyftpdlib.log import config_logging
from pyftpdlib.servers import FTPServer

root, user, password, mode, port_file = sys.argv[1:6]
faults = {}
for part in mode.split('+'):
    name, _, numbers = part.partition('=')
    faults[name] = [float(n) for n in numbers.split(',') if n]
# The fault that chooses how the data connection behaves, if any.
mode_name = next((f for f in faults if f in ('drop', 'cut', 'slow', 'stop-reading', 'no-final-answer')),
                 next(iter(faults)))


def knob(index, default, fault=None):
    knobs = faults.get(fault or mode_name, [])
    return knobs[index] if len(knobs) > index else default


config_logging(level=logging.CRITICAL)
authorizer = DummyAuthorizer()
authorizer.add_user(user, password, root, perm='elradfmwMT')


# The handler's own read is bound to the read event too, so the handlers that
# change reading bind both.
class Dropping(DTPHandler):
    def handle_read(self):
        DTPHandler.handle_read(self)
        self.cmd_channel.close()
    handle_read_event = handle_read


class Cutting(DTPHandler):
    keep = int(knob(0, 1000))
    ac_in_buffer_size = min(keep, 65536)

    def handle_read(self):
        self.ac_in_buffer_size = min(self.ac_in_buffer_size, self.keep - self.tot_bytes_received)
        DTPHandler.handle_read(self)
        if self.tot_bytes_received >= self.keep:
            self.handle_close()
    handle_read_event = handle_read


class Slow(ThrottledDTPHandler):
    read_limit = int(knob(0, 100 * 1024))


class StopsReading(DTPHandler):
    # Small reads, so it stops close to its mark.
    ac_in_buffer_size = 4096
    limit = int(knob(0, 100 * 1024))

    def handle_read(self):
        if self.tot_bytes_received >= self.limit:
            # Out of the loop: what the client sends from now on stays in the
            # connection, and its end is never noticed.
            self.del_channel()
            return
        DTPHandler.handle_read(self)
    handle_read_event = handle_read


class Unanswering(DTPHandler):
    def close(self):
        self._resp = ()  # the file is kept whole, the 226 never sent
        DTPHandler.close(self)


class BigBuffer(PassiveDTP):
    # Set before listen(), so the window scale the connection agrees on
    # allows the whole buffer; accepted connections inherit it.
    def listen(self, backlog):
        self.socket.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, int(knob(0, 4 << 20, 'rcvbuf')))
        return PassiveDTP.listen(self, backlog)


class Handler(FTPHandler):
    def ftp_USER(self, line):
        if 'login-at-user' not in faults:
            return FTPHandler.ftp_USER(self, line)
        self.username = line
        self.ftp_PASS(password)

    def ftp_SIZE(self, path):
        if 'no-size' not in faults:
            return FTPHandler.ftp_SIZE(self, path)
        self.respond('%d Not allowed here.' % int(knob(0, 550, 'no-size')))

    def ftp_STOR(self, file, mode='w'):
        with open(root.rstrip('/') + '.stors', 'a') as noted:
            noted.write(file + '\n')
        if 'stall' in faults:
            return None
        return FTPHandler.ftp_STOR(self, file, mode)

    def ftp_CWD(self, path):
        if 'endless-cwd' not in faults:
            return FTPHandler.ftp_CWD(self, path)
        interval, lines = knob(0, 5, 'endless-cwd'), int(knob(1, 0, 'endless-cwd'))
        self.push('250-Changing to the folder, please wait.\r\n')

        def more(sent):
            if self._closed:
                return
            if lines and sent >= lines:
                FTPHandler.ftp_CWD(self, path)
                return
            self.push(' still changing (%d)\r\n' % sent)
            self.ioloop.call_later(interval, more, sent + 1)
        self.ioloop.call_later(interval, more, 1)

    def ftp_QUIT(self, line):
        if 'no-quit' in faults:
            return None
        if 'quit-after-data' in faults and self.data_channel is not None:
            self.ioloop.call_later(0.1, self.ftp_QUIT, line)
            return None
        return FTPHandler.ftp_QUIT(self, line)

    def respond(self, resp, logfun=logging.debug):
        if 'login-202' in faults and resp.startswith('230 ') and not self.authenticated:
            resp = '202 ' + resp[4:]
        if 'hang-up-after-226' in faults and resp.startswith('226 '):
            # The answer and the close in one go, as a server that hangs up at once.
            self.socket.sendall((resp + '\r\n').encode('utf8'))
            self.socket.shutdown(socket.SHUT_RDWR)
            self.ioloop.call_later(0, self.close)
            return
        FTPHandler.respond(self, resp, logfun)

    quiet_until = None  # commands that come before are held till then

    def ftp_PWD(self, line):
        if 'start-in-pwd' not in faults:
            return FTPHandler.ftp_PWD(self, line)
        self.push('257-"/" is the current folder.\r\n150 Opening the data connection.\r\n')
        silence = knob(0, 0, 'start-in-pwd')
        self.quiet_until = time.monotonic() + silence if silence else math.inf

    def pre_process_command(self, line, cmd, arg):
        left = self.quiet_until - time.monotonic() if self.quiet_until else 0
        if left == math.inf:
            return
        if left > 0:
            self.ioloop.call_later(left, self.pre_process_command, line, cmd, arg)
            return
        FTPHandler.pre_process_command(self, line, cmd, arg)


Handler.authorizer = authorizer
Handler.auth_failed_timeout = 0
Handler.dtp_handler = {
    'drop': Dropping,
    'cut': Cutting,
    'slow': Slow,
    'stop-reading': StopsReading,
    'no-final-answer': Unanswering,
}.get(mode_name, DTPHandler)
if 'rcvbuf' in faults:
    Handler.passive_dtp = BigBuffer
if 'exit-after' in faults:
    threading.Timer(knob(0, 60, 'exit-after'), os._exit, [0]).start()
server = FTPServer(('127.0.0.1', 0), Handler)
open(port_file + '.tmp', 'w').write(str(server.socket.getsockname()[1]))
os.replace(port_file + '.tmp', port_file)
server.serve_forever()
