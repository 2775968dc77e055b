# Sourced by test.sh: starts a throwaway PostgreSQL cluster for the clinic server tests and stops it
# again when the shell exits, also after a failed test. The tests read where it is from
# VELMORA_TEST_PG_HOST, _PORT, _USER and _PASSWORD, and each makes a database of its own in it.

PG_BIN_DIR="${PG_BIN_DIR:-$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)}"

# Runs a PostgreSQL program as the cluster's owner: the server refuses to run as root.
pg_as_owner() {
    if [ "$(id -u)" -eq 0 ]; then
        runuser -u nobody -- "$@"
    else
        "$@"
    fi
}

stop_test_postgres() {
    if [ -n "${VELMORA_TEST_PG_DIR:-}" ] && [ -d "$VELMORA_TEST_PG_DIR" ]; then
        pg_as_owner "$PG_BIN_DIR/pg_ctl" -D "$VELMORA_TEST_PG_DIR/data" -m immediate -w stop >/dev/null 2>&1 || true
        rm -rf "$VELMORA_TEST_PG_DIR"
    fi
    unset VELMORA_TEST_PG_DIR
}

# A loopback port nothing listens on yet.
free_loopback_port() {
    local port
    for _ in $(seq 1 50); do
        port=$((20000 + RANDOM % 40000))
        if ! (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
            echo "$port"
            return 0
        fi
    done
    return 1
}

start_test_postgres() {
    if [ ! -x "$PG_BIN_DIR/initdb" ]; then
        echo "PostgreSQL server programs not found (install the postgresql package)" >&2
        return 1
    fi
    VELMORA_TEST_PG_DIR="$(mktemp -d /tmp/velmora-pg.XXXXXX)"
    trap stop_test_postgres EXIT
    local password
    password="test-$RANDOM$RANDOM"
    echo "$password" >"$VELMORA_TEST_PG_DIR/password"
    # Encrypted connections with a certificate for 127.0.0.1 signed by the test CA in tests/data/tls
    # (made once with openssl; its own key was thrown away), for the tests of a verified server.
    local tls_dir
    tls_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/../tests/data/tls" && pwd)"
    cp "$tls_dir/server.crt" "$tls_dir/server.key" "$VELMORA_TEST_PG_DIR/"
    chmod 600 "$VELMORA_TEST_PG_DIR/server.key"
    if [ "$(id -u)" -eq 0 ]; then
        chown -R nobody "$VELMORA_TEST_PG_DIR"
    fi
    pg_as_owner "$PG_BIN_DIR/initdb" -D "$VELMORA_TEST_PG_DIR/data" -U velmora -E UTF8 --locale=C.UTF-8 \
        --auth-local=trust --auth-host=scram-sha-256 --pwfile="$VELMORA_TEST_PG_DIR/password" >/dev/null
    local port started=""
    for _ in 1 2 3 4 5; do
        port="$(free_loopback_port)" || break
        if pg_as_owner "$PG_BIN_DIR/pg_ctl" -D "$VELMORA_TEST_PG_DIR/data" -w -t 60 \
            -l "$VELMORA_TEST_PG_DIR/server.log" \
            -o "-h 127.0.0.1 -p $port -k $VELMORA_TEST_PG_DIR -c max_connections=200 -c fsync=off -c ssl=on -c ssl_cert_file=$VELMORA_TEST_PG_DIR/server.crt -c ssl_key_file=$VELMORA_TEST_PG_DIR/server.key" start >/dev/null; then
            started=1
            break
        fi
    done
    if [ -z "$started" ]; then
        echo "The test PostgreSQL server did not start:" >&2
        cat "$VELMORA_TEST_PG_DIR/server.log" >&2 || true
        return 1
    fi
    export VELMORA_TEST_PG_HOST=127.0.0.1
    export VELMORA_TEST_PG_PORT="$port"
    export VELMORA_TEST_PG_USER=velmora
    export VELMORA_TEST_PG_PASSWORD="$password"
    export VELMORA_TEST_PG_CA="$tls_dir/ca.crt"
    export VELMORA_TEST_PG_DIR
    echo "Test PostgreSQL server on 127.0.0.1:$port"
}
