#!/usr/bin/env bash
# Starts or stops a Firebird server on the loopback address for the tests of
# several workstations. "start" sets SYSDBA's password to ISC_PASSWORD (or the
# program's built-in one) and leaves a mark so that "stop" stops only a server
# that it started itself. Run as root.
set -euo pipefail
mark=/run/tevo-firebird-started
conf=/etc/firebird/3.0/firebird.conf
security=/var/lib/firebird/3.0/system/security3.fdb
password=${ISC_PASSWORD:-vorpaltin}

running() { pidof fbguard >/dev/null 2>&1 || pidof firebird >/dev/null 2>&1; }

case "${1:-}" in
start)
    if running; then
        echo "Firebird server already running; left as it is"
        exit 0
    fi
    # Listen on the loopback address only.
    sed -i -E '/^[#[:space:]]*RemoteBindAddress[[:space:]]*=/d' "$conf"
    echo 'RemoteBindAddress = 127.0.0.1' >>"$conf"
    # Set the password through the embedded engine while no server holds the file.
    printf "create or alter user SYSDBA password '%s' using plugin Srp;\ncommit;\n" "$password" |
        isql-fb -q -user SYSDBA "$security" >/dev/null
    /etc/init.d/firebird3.0 start >/dev/null
    for _ in $(seq 1 50); do
        if (exec 3<>/dev/tcp/127.0.0.1/3050) 2>/dev/null; then
            touch "$mark"
            echo "Firebird server started on 127.0.0.1"
            exit 0
        fi
        sleep 0.2
    done
    echo "Firebird server did not start" >&2
    exit 1
    ;;
stop)
    if [ -e "$mark" ]; then
        /etc/init.d/firebird3.0 stop >/dev/null || true
        rm -f "$mark"
        echo "Firebird server stopped"
    fi
    ;;
*)
    echo "usage: $0 start|stop" >&2
    exit 2
    ;;
esac
