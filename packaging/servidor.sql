-- The salon's server for Crinova: a database and the role every station logs in with.
-- Run once, as PostgreSQL's administrator, on the computer that keeps the salon's records:
--
--     sudo -u postgres psql -f /usr/share/crinova/servidor.sql
--
-- It asks for the role's password (or takes it with -v clave=...). The names can be changed with
-- -v base=... and -v usuario=... (by default both are "crinova").
--
-- The role can log in to this database only, and create and change tables only in its own schema
-- "crinova", where Crinova keeps the salon's records and pictures and makes (and upgrades) its
-- tables itself. It is no superuser, creates no databases and no roles, and reaches nothing else.

\set ON_ERROR_STOP on

\if :{?base}
\else
\set base crinova
\endif
\if :{?usuario}
\else
\set usuario crinova
\endif
\if :{?clave}
\else
\prompt 'Contraseña para el usuario de Crinova: ' clave
\endif

CREATE ROLE :"usuario" LOGIN PASSWORD :'clave'
    NOSUPERUSER NOCREATEDB NOCREATEROLE NOREPLICATION NOBYPASSRLS NOINHERIT;

CREATE DATABASE :"base" ENCODING 'UTF8' TEMPLATE template0;
REVOKE ALL ON DATABASE :"base" FROM PUBLIC;
GRANT CONNECT ON DATABASE :"base" TO :"usuario";

\connect :"base"
-- Nobody but the administrator creates anything in the public schema.
REVOKE ALL ON SCHEMA public FROM PUBLIC;
CREATE SCHEMA crinova AUTHORIZATION :"usuario";
ALTER ROLE :"usuario" IN DATABASE :"base" SET search_path = crinova;
